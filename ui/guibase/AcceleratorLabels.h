#pragma once
// Labels that show an accelerator key ("Open(O)", "O) Open"), reading the key back
// from such a label, and texts with a built-in default. No widget is needed here.

#include <string>

// The accelerator format the program offers first (kDefaultAccKeyFormat) is the item's.
#include "foundation/IAPItemAccKeyFormat.h"

// The label with `key` shown in `format`. Byte 0 of the format says where the key
// goes (1: in front of the label; anything else: behind the label's text, before its
// first ellipsis, bracket, colon or arrow); in the bytes after it the first "a" stands
// for the key. The format comes from a file any process may write, so a format
// without such an "a" after byte 0 (the empty one included) leaves the label as it is.
std::string merge_accelerator_key(const std::string& format, const std::string& key, const std::string& label);

// The text of a menu item or title (a Qt action text) that shows the label as
// merge_accelerator_key does and makes the shown key the item's mnemonic: "File(&F)",
// shown "File(F)", opened with Alt+F and chosen with F in an open menu. Every other "&"
// (of the label or the format) is shown as it stands. A format that shows no key gives
// the label alone, with no mnemonic.
std::string menu_label_with_mnemonic(const std::string& format, const std::string& key, const std::string& label);

// `text` as a menu item's text that shows it as it stands: each "&" doubled, so that
// none marks a mnemonic.
std::string menu_escaped(const std::string& text);

// The accelerator key a label shows, lower-cased (A to Z only), or 0 when it shows none.
char short_cut_from_label(const std::string& label);

// The locale's text for `key`, or `defaultText` when the locale has none.
std::string locale_text_with_default(const char* key, const char* defaultText);

// The user's accelerator format ("AccKeyFormat2" of gIAPs), or the default one while
// no such shared preference is registered.
std::string current_accelerator_format();
