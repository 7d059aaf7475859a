// Runs a call of this layer the way Windows runs its own: it never throws and leaves the
// caller's errno as it was.
#pragma once

#include <cerrno>

template <class R, class Fn> R SystemCall(R failure, Fn&& fn) noexcept {
    const int nSavedErrno = errno;
    R result = failure;
    try {
        result = fn();
    } catch (...) {
        result = failure;
    }
    errno = nSavedErrno;
    return result;
}
