// Thrown by the number parser of the 64-bit integer functions: a failed conversion's errno.
#pragma once

#include <cstdint>

class CErrnoException {
public:
    explicit CErrnoException(int32_t nErrno) : m_nErrno(nErrno) {}
    CErrnoException(const CErrnoException& other) : m_nErrno(other.m_nErrno) {}

    int32_t m_nErrno; // ERANGE (34) out of range, EINVAL (22) not a number
};
