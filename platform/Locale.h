#pragma once
// The catalogue of visible texts. A text is looked up by its key: the English text
// itself ("Creating windows"), a symbolic key between at-signs ("@Compile_Err_Syntax_Err@")
// or a key between dollar signs with a built-in default. Placeholders such as "%Num%"
// are replaced after the lookup.

#include <string>
#include <string_view>

namespace platform {

// The text for `key`; a key the catalogue lacks gives the key itself.
std::string get_string(std::string_view key);

// `text` with every occurrence of `placeholder` replaced by `value`.
std::string replace_placeholder(std::string text, std::string_view placeholder, std::string_view value);

// Tests may switch the catalogue off so that every key looks up as itself.
void use_key_identity_catalogue(bool on);

}  // namespace platform
