#include "startup/ui/SignupDialog.h"

#include "startup/ui/SignupDialogResource.h"
#include "startup/windows/internet/InternetHelper.h"

namespace products::stelmar::ui {

namespace {

INT_PTR CALLBACK signupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      // A shared system icon: the static control must not destroy it.
      ::SendDlgItemMessageA(dialog, IDC_SIGNUP_PICTURE, STM_SETICON,
                            reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IDI_INFORMATION)), 0);
      ::SendDlgItemMessageA(dialog, IDC_SIGNUP_ADDRESS, EM_LIMITTEXT,
                            SignupDialog::MAX_ADDRESS_LENGTH, 0);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          auto* address =
              reinterpret_cast<std::string*>(::GetWindowLongPtrA(dialog, GWLP_USERDATA));
          char buffer[SignupDialog::MAX_ADDRESS_LENGTH + 1] = {};
          const UINT length =
              ::GetDlgItemTextA(dialog, IDC_SIGNUP_ADDRESS, buffer, sizeof buffer);
          try {
            address->assign(buffer, length);
          } catch (...) {
            // No memory for the address: as if the user had skipped.
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
          }
          ::EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          ::EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

class SignupView : public util::newsletter::SignUpView {
 public:
  SignupView(HWND owner, util::newsletter::SignUpMessages& messages, DWORD waitMs)
      : _owner(owner), _messages(messages), _waitMs(waitMs) {}
  bool askForEmailAddress(std::string& emailAddress) override {
    return SignupDialog::show(_owner, emailAddress);
  }
  void handleInformation(const std::string& text) override { _messages.handleInformation(text); }
  void handleError(const std::string& text) override { _messages.handleError(text); }
  void openAddress(const std::string& address) override {
    windows::internet::launchBrowser(address);
  }
  void waitForBrowser() override { ::Sleep(_waitMs); }

 private:
  HWND _owner;
  util::newsletter::SignUpMessages& _messages;
  DWORD _waitMs;
};

}  // namespace

bool SignupDialog::show(HWND owner, std::string& emailAddress) {
  std::string typed;
  const INT_PTR result =
      ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SIGNUP), owner,
                        signupProc, reinterpret_cast<LPARAM>(&typed));
  if (result != IDOK) return false;
  emailAddress = typed;
  return true;
}

void offerSignup(util::config::Config& config, HWND owner, const std::string& productName,
                 util::newsletter::SignUpMessages& messages, DWORD browserWaitMs) {
  SignupView view(owner, messages, browserWaitMs);
  util::newsletter::offerSignUp(config, productName, view);
}

}  // namespace products::stelmar::ui
