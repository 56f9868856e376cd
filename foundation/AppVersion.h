#pragma once
// The version of the running program as the application shows it.

extern const char* const gAppVer;
