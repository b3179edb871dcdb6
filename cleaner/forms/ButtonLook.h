// CleanBtnDrawButton: how the host's buttons look in the colours of "morvel.ini", shared by
// the main window's six buttons and the results window's two.
#pragma once

#include "cleaner/host/HostSettings.h"
#include "cleaner/forms/Ownerdrawbtn.h"

void CleanBtnDrawButton(TOwnerDrawBtn& button, const HostSettings& settings);

// Gives a button the host's look, or the standard one where DefaultButtons is set.
void UseHostLook(TOwnerDrawBtn& button, const HostSettings& settings);
