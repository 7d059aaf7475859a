// The handful of Windows calls the module makes, implemented for the native Linux build.
#pragma once

#include <cstdint>

typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int BOOL;
typedef void* HMODULE;
typedef void* HINSTANCE;
typedef void* LPVOID;

#define WINAPI __attribute__((stdcall))
#define EXT_EXPORT __attribute__((visibility("default")))

enum {
    DLL_PROCESS_DETACH = 0,
    DLL_PROCESS_ATTACH = 1,
};

// Path of the module that contains the address hModule (null: this module); truncated
// (and nSize returned)
// when it does not fit.
DWORD GetModuleFileNameA(HMODULE hModule, char* pszFileName, DWORD nSize);

// INI files: a file name without a folder lies in the folder named by $WINDIR.
DWORD GetPrivateProfileStringA(const char* pszSection, const char* pszKey, const char* pszDefault,
                               char* pszReturned, DWORD nSize, const char* pszFileName);
DWORD GetProfileStringA(const char* pszSection, const char* pszKey, const char* pszDefault,
                        char* pszReturned, DWORD nSize);

DWORD SearchPathA(const char* pszPath, const char* pszFileName, const char* pszExtension,
                  DWORD nBufferLength, char* pszBuffer, char** ppszFilePart);

int lstrcmpA(const char* a, const char* b);
char* lstrcpynA(char* pszDest, const char* pszSource, int nMax);
char* lstrcpyA(char* pszDest, const char* pszSource);
char* lstrcatA(char* pszDest, const char* pszSource);
int lstrlenA(const char* psz);

int LoadStringA(HMODULE hModule, UINT nId, char* pszBuffer, int nBufferMax);
int wsprintfA(char* pszBuffer, const char* pszFormat, ...);
char* CharLowerA(char* psz);
char* CharNextA(const char* psz);

DWORD GetFileVersionInfoSizeA(const char* pszFileName, DWORD* pdwHandle);
BOOL GetFileVersionInfoA(const char* pszFileName, DWORD dwHandle, DWORD dwLength, void* pData);
BOOL VerQueryValueA(const void* pBlock, const char* pszSubBlock, void** ppBuffer, UINT* pnLength);

void _splitpath(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt);
