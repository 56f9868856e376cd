#pragma once
// The keys of the run-time errors, looked up in the text catalogue when shown.

inline constexpr const char RTE_ILL_FUNC_CALL[] = "@Runtime_Err_Ill_Func_Call@";
inline constexpr const char RTE_UNDEFINED_LINE_NUMBER[] = "@Runtime_Err_Undefined_Line_Number@";
inline constexpr const char RTE_UNDEFINED_LABEL[] = "@Runtime_Err_Undefined_Label@";
inline constexpr const char RTE_BAD_DIMENSION[] = "@Runtime_Err_Bad_Dimension@";
inline constexpr const char RTE_SUBSCRIPT_OUT_OF_RANGE[] = "@Runtime_Err_Subscript_Out_Of_Range@";
inline constexpr const char RTE_BAD_DRIVE_NUMBER[] = "@Runtime_Err_Bad_Drive_Number@";
inline constexpr const char RTE_UNDEFINED_USER_FUNC[] = "@Runtime_Err_Undefined_User_Func@";
inline constexpr const char RTE_TYPE_MISMATCH[] = "@Runtime_Err_Type_Mismatch@";
inline constexpr const char RTE_DIV_BY_ZERO[] = "@Runtime_Err_Div_By_Zero@";
inline constexpr const char RTE_RETURN_WITHOUT_GOSUB[] = "@Runtime_Err_Return_Without_Gosub@";
inline constexpr const char RTE_FILE_NOT_FOUND[] = "@Runtime_Err_File_Not_Found@";
inline constexpr const char RTE_BAD_FILE_NUMBER[] = "@Runtime_Err_Bad_File_Number@";
inline constexpr const char RTE_FILE_NOT_OPEN[] = "@Runtime_Err_File_Not_Open@";
inline constexpr const char RTE_DISK_OFFLINE[] = "@Runtime_Err_Disk_Offline@";
inline constexpr const char RTE_INPUT_PAST_END[] = "@Runtime_Err_Input_Past_End@";
inline constexpr const char RTE_FILE_ALREADY_OPEN[] = "@Runtime_Err_File_Already_Open@";
inline constexpr const char RTE_CANNOT_OPEN_FILE[] = "@Runtime_Err_Cannot_Open_File@";
inline constexpr const char RTE_PUTAT_BEFORE_GETAT[] = "@Runtime_Err_PutAt_Before_GetAt@";
inline constexpr const char RTE_OUT_OF_DATA[] = "@Runtime_Err_Out_Of_Data@";
inline constexpr const char RTE_STOP_BREAK[] = "@Runtime_Err_Stop_Break@";
inline constexpr const char RTE_BAD_MML[] = "@Runtime_Err_Bad_MML@";
// A code without a handler, or operands the code should have left and did not: a
// fault of the compiled program, reported instead of crashing.
inline constexpr const char RTE_INTERNAL_ERROR[] = "@Runtime_Err_Internal_Error@";
// The value stack is full (subroutines called without RETURN, without end).
inline constexpr const char RTE_OUT_OF_MEMORY[] = "@Runtime_Err_Out_Of_Memory@";
// A write that the file refused (disk full, I/O error, a file opened FOR INPUT):
// data is never dropped silently.
inline constexpr const char RTE_DISK_IO_ERROR[] = "@Runtime_Err_Disk_IO_Error@";
