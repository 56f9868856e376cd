#pragma once
// The keys of the compile errors, looked up in the text catalogue when shown.

inline constexpr const char CE_ASSIGN_UNLVALUE[] = "@Compile_Err_Assign_Unlvalue@";
inline constexpr const char CE_CANNOT_HAT_STRING[] = "@Compile_Err_Cannot_Hat_String@";
inline constexpr const char CE_CANNOT_LOGIC_STRING[] = "@Compile_Err_Cannot_Logic_String@";
inline constexpr const char CE_CANNOT_MUL_DIV_STRING[] = "@Compile_Err_Cannot_Mul_Div_String@";
inline constexpr const char CE_CANNOT_NEGA_STRING[] = "@Compile_Err_Cannot_Nega_String@";
inline constexpr const char CE_CANNOT_SUB_STRING[] = "@Compile_Err_Cannot_Sub_String@";
inline constexpr const char CE_DIRECT_STATEMENT[] = "@Compile_Err_Direct_Statement@";
inline constexpr const char CE_FOR_WITHOUT_NEXT[] = "@Compile_Err_For_Without_Next@";
inline constexpr const char CE_FOR_WITHOUT_TO[] = "@Compile_Err_For_Without_To@";
inline constexpr const char CE_IF_WITHOUT_THEN[] = "@Compile_Err_If_Without_Then@";
inline constexpr const char CE_ILL_DEF_VAR_TYPE[] = "@Compile_Err_Ill_Def_Var_Type@";
inline constexpr const char CE_ILL_FUNC_CALL[] = "@Compile_Err_Ill_Func_Call@";
inline constexpr const char CE_LIST_TOO_LARGE[] = "@Compile_Err_List_Too_Large@";
inline constexpr const char CE_MISSING_OPERAND[] = "@Compile_Err_Missing_Operand@";
inline constexpr const char CE_NEXT_WITHOUT_FOR[] = "@Compile_Err_Next_Without_For@";
inline constexpr const char CE_NO_COMMA[] = "@Compile_Err_No_Comma@";
inline constexpr const char CE_NO_EQUAL[] = "@Compile_Err_No_Equal@";
inline constexpr const char CE_NO_LPAR[] = "@Compile_Err_No_LPar@";
inline constexpr const char CE_NO_MINUS[] = "@Compile_Err_No_Minus@";
inline constexpr const char CE_NO_RPAR[] = "@Compile_Err_No_RPar@";
inline constexpr const char CE_NO_SEMI_COLON[] = "@Compile_Err_No_Semi_Colon@";
inline constexpr const char CE_SYNTAX_ERR[] = "@Compile_Err_Syntax_Err@";
inline constexpr const char CE_TOO_MANY_OPERAND[] = "@Compile_Err_Too_Many_Operand@";
inline constexpr const char CE_TYPE_MISMATCH_ARG[] = "@Compile_Err_Type_Mismatch_Arg@";
inline constexpr const char CE_TYPE_MISMATCH_ASSIGN[] = "@Compile_Err_Type_Mismatch_Assign@";
inline constexpr const char CE_TYPE_MISMATCH_CALC[] = "@Compile_Err_Type_Mismatch_Calc@";
inline constexpr const char CE_WEND_WITHOUT_WHILE[] = "@Compile_Err_Wend_Without_While@";
inline constexpr const char CE_WHILE_WITHOUT_WEND[] = "@Compile_Err_While_Without_Wend@";
// "%Symbol%" in its text stands for the character that no token begins with.
inline constexpr const char CE_UNKNOWN_SYMBOL[] = "@Compile_Err_Unknown_Symbol %Symbol%@";
