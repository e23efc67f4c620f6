// errno to engine error codes.
#include "dbase/engine/os_errors.h"

#include <cerrno>
#include <system_error>

#include "dbase/engine/error_codes.h"

namespace dbase {

namespace {

int CodeOf(int errnoValue, bool inWrite) {
  switch (errnoValue) {
    case 0:
      return 0;
    case ENOENT:
      return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
      return 5;
    case EROFS:
      return 19;
    case EBADF:
      return 6;
    case ENOMEM:
      return 8;
    case EINVAL:
      return 12;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return 101;
    case EAGAIN:
    case EDEADLK:
      return 33;
    case EIO:
      return inWrite ? 101 : 100;
    default:
      return inWrite ? 101 : 100;
  }
}

}  // namespace

int OsErrorCode(int errnoValue, bool inWrite) {
  const int code = CodeOf(errnoValue, inWrite);
  if (code != 0) NoteSystemReason(code, std::generic_category().message(errnoValue));
  return code;
}

}  // namespace dbase
