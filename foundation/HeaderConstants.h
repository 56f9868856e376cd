#pragma once
// Text constants that every source file may use. They are inline variables, so each
// one is complete before any global defined after this include in the same file
// (the sorted kana table of gAppPrivacy is built from HALF_KANA_STR).

#include <string>

// The 63 half-width katakana U+FF61 to U+FF9F in code-point order, UTF-8, 3 bytes each.
inline const std::string HALF_KANA_STR = "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ";

// Item delimiters when reading from files: space, ';', ',', CR, LF, in this order.
inline const std::string DELIMLIST_5DELIMS = " ;,\r\n";

// Line delimiters: CR, LF.
inline const std::string DELIMLIST_CRLF = "\r\n";

// Appended to progress texts and menu labels.
inline const std::string FUC_ELLIPSIS = "...";
