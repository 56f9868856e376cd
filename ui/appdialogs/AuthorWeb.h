#pragma once
// The web page that Help > the author's web page opens.

inline constexpr const char* kAuthorWebUrl = "https://kivo-basic.example/";
