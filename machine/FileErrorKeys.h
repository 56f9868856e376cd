#pragma once
// The run-time error of a write that the file refused (disk full, I/O error, a file
// opened FOR INPUT): data is never dropped silently.

inline constexpr const char RTE_DISK_IO_ERROR[] = "@Runtime_Err_Disk_IO_Error@";

// Adds the texts of the file errors to the catalogue, once.
void register_file_error_texts();
