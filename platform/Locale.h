#pragma once
// The catalogue of visible texts. A text is looked up by its key: the English text
// itself ("Creating windows"), a symbolic key between at-signs ("@Compile_Err_Syntax_Err@")
// or a key between dollar signs with a built-in default. Placeholders such as "%Num%"
// are replaced after the lookup.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The text for `key`; a key the catalogue lacks gives the key itself.
std::string get_string(std::string_view key);

// `text` with every occurrence of `placeholder` replaced by `value`.
std::string replace_placeholder(std::string text, std::string_view placeholder, std::string_view value);

// Tests may switch the catalogue off so that every key looks up as itself.
void use_key_identity_catalogue(bool on);

// One text of the English catalogue.
struct CatalogueText {
    std::string_view key;
    std::string_view text;
};

// Adds texts to the English catalogue (an area of the program registers its own
// table once, before it looks its keys up); a key given twice keeps its last text.
// The views must stay valid for the life of the program (string literals).
void add_catalogue_texts(const CatalogueText* texts, size_t count);
template <size_t N>
void add_catalogue_texts(const CatalogueText (&texts)[N])
{
    add_catalogue_texts(texts, N);
}

}  // namespace platform
