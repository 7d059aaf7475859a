// The output text of pkStrCut: grown by doubling, pieces copied straight into its storage.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

struct CutOutput {
    std::unique_ptr<char[]> pBuffer;
    size_t nCapacity = 0;
    size_t nUsed = 0;

    // Room for n more characters at the end; written ones are counted by Commit.
    char* Room(size_t n) {
        if (nCapacity - nUsed < n)
            Grow(n);
        return pBuffer.get() + nUsed;
    }
    void Commit(size_t n) { nUsed += n; }

    void Put(const char* p, size_t n) {
        char* q = Room(n);
        if (n <= 16) { // short pieces: cheaper than a library call
            for (size_t i = 0; i < n; ++i)
                q[i] = p[i];
        } else {
            std::memcpy(q, p, n);
        }
        nUsed += n;
    }
    void Put(std::string_view piece) { Put(piece.data(), piece.size()); }
    void Put(char c) {
        *Room(1) = c;
        ++nUsed;
    }

    // Sets the capacity up front.
    void Reserve(size_t n) {
        if (n > nCapacity)
            Resize(n);
    }

    // The text so far, NUL-terminated.
    const char* Text() {
        *Room(1) = '\0';
        return pBuffer.get();
    }

private:
    void Grow(size_t n) {
        if (n > static_cast<size_t>(-1) / 2 - nUsed)
            throw std::bad_alloc();
        size_t nNew = nCapacity < 4096 ? 4096 : nCapacity;
        while (nNew - nUsed < n)
            nNew *= 2;
        Resize(nNew);
    }

    void Resize(size_t nNew) {
        std::unique_ptr<char[]> pNew(new char[nNew]);
        if (nUsed > 0)
            std::memcpy(pNew.get(), pBuffer.get(), nUsed);
        pBuffer = std::move(pNew);
        nCapacity = nNew;
    }
};
