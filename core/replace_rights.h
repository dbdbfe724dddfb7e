// Whether anyone but Administrators, SYSTEM and TrustedInstaller can replace the program. The
// logon task starts the file at the program's path elevated and without a prompt, so whoever
// can put another file there is given the administrator's rights.
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

// `chain`: the self-relative security descriptors of the program file, of its folder and of
// each folder above it up to the drive's root, in that order; a null one is open to anyone.
// True when no other account may write, append to, delete, rename or re-own the file, nor add
// files to, delete from, rename or re-own any of the folders. Only allowing entries are read:
// a denying one never makes a folder safe here.
bool OnlyAdministratorsCanReplace(std::span<const PSECURITY_DESCRIPTOR> chain);

// `path`, then each folder above it up to the drive's root ("C:\").
std::vector<std::wstring> PathChain(std::wstring path);

// The decision for the running program, from the file system's descriptors.
bool ProgramOnlyAdministratorsCanReplace();
