// Loading a module and finding its entry points, as a host does.
#pragma once

#include <string>

namespace platform {

void* OpenLibrary(const std::string& path);
void CloseLibrary(void* handle);
// name is the entry point's exported name, such as "_KELExtender2@40".
void* FindEntryPoint(void* handle, const std::string& name);
// Folder of the running program, with a closing separator.
std::string ProgramFolder();
// File name of the module in a build folder.
const char* ModuleFileName();
// The folder where the profile functions look for an INI file given without a folder.
std::string WindowsFolder();

} // namespace platform
