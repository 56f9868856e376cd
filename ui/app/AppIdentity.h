#pragma once
// The application's identity texts. The version is gAppVer (foundation/AppVersion.h).

inline constexpr const char* gAppNameE = "Kivo-BASIC";
inline constexpr const char* gAppSignature = "application/x-vnd.TAVREN-KivoBASIC";
// Fills "%AppAuthor%" in menu labels and the About box.
inline constexpr const char* gAppAuthorE = "TAVREN";
