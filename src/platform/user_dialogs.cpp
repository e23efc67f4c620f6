// The installed user-dialog implementation; see user_dialogs.h.
#include "platform/user_dialogs.h"

#include "platform/scripted_dialogs.h"

namespace platform {

namespace {

UserDialogs*& Installed() {
  static UserDialogs* installed = nullptr;
  return installed;
}

// The headless default: an empty queue, so every question gets its
// cancelling answer.
ScriptedDialogs& BuiltIn() {
  static ScriptedDialogs builtIn;
  return builtIn;
}

}  // namespace

UserDialogs& Dialogs() {
  UserDialogs* installed = Installed();
  return installed ? *installed : BuiltIn();
}

UserDialogs* SetDialogs(UserDialogs* dialogs) {
  UserDialogs* previous = Installed();
  Installed() = dialogs;
  return previous;
}

}  // namespace platform
