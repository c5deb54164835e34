// What the framework knows of the module it runs in: the instance handle,
// the module its resources come from, and the application's name. A program
// sets them up through AfxWinInit; a library of its own (the companion DLL)
// names its resource module itself.
#pragma once

#include <windows.h>

#include <string>

// The module's instance: the one AfxWinInit was given, else the executable.
HINSTANCE AfxGetInstanceHandle();
// The module the framework loads resources from (the instance, unless set).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);
// The module that holds the resource: the resource module when it has it,
// else the instance (which then may not have it either).
HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type);
// The application's name (empty until AfxWinInit).
const std::wstring& AfxGetAppName();

// A string resource of the module (the resource module when null); empty
// when there is none.
std::wstring AfxLoadString(UINT id, HINSTANCE module = nullptr);

// Called by AfxWinInit.
void AfxSetModuleState(HINSTANCE instance, std::wstring appName);
