# Portable units of stelmar, built natively with the sanitizers.
include(${VARNICK_ROOT}/startup/native-base.cmake OPTIONAL)
include(${VARNICK_ROOT}/startup/native-store.cmake OPTIONAL)
include(${VARNICK_ROOT}/startup/native-helpers.cmake OPTIONAL)
include(${VARNICK_ROOT}/startup/native-ui.cmake OPTIONAL)
