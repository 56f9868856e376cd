#pragma once
// The texts the variable list shows: an element's label with its subscripts and the
// text of a value. They are made on the machine thread from the variable's record,
// so the view never reads the machine's storage.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language/TokenKind.h"

class TVarInfo;

// At most this many bytes of a value's text are shown.
inline constexpr size_t VAR_TEXT_MAX = 499;

// A number as the C library's %g writes it (6 significant digits), locale-free.
std::string var_number_text(double value);
// `text` cut to at most VAR_TEXT_MAX bytes, never inside a UTF-8 character.
std::string var_cut_text(std::string_view text);
// The text of element `element` of v (0 the plain variable); empty for an element
// the record does not hold or a type without values.
std::string var_value_text(const TVarInfo& v, int32_t element);
// The text a fresh element of that type shows.
std::string var_default_text(TTokenKind type);
// The dimension sizes as the record keeps them (the last subscript's first).
std::vector<int32_t> var_dim_sizes(const TVarInfo& v);
// The number of array elements the sizes give (0 without dimensions).
int64_t var_element_count(std::span<const int32_t> sizes);
// "NAME(s1,s2,...)" for element k ≥ 1 of an array of those sizes, the subscripts from
// 0 in the order the program writes them; plain NAME for element 0.
std::string var_element_label(std::string_view name, std::span<const int32_t> sizes, int32_t element);
