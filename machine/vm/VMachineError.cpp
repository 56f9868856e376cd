// Run-time errors: the exception, its alert text and the screen text.

#include <mutex>
#include <string>

#include "machine/vm/VMachine.h"
#include "platform/Locale.h"

namespace {

const platform::CatalogueText MACHINE_TEXTS[] = {
    {"@Runtime_Err_Internal_Error@", "Internal error"},
    {"@Runtime_Err_Out_Of_Memory@", "Out of memory"},
    {"@Runtime_Err_Disk_IO_Error@", "Disk I/O error"},
};

}  // namespace

void TVMachine::RegisterTexts()
{
    static std::once_flag once;
    std::call_once(once, [] { platform::add_catalogue_texts(MACHINE_TEXTS); });
}

void TVMachine::GenerateErrStrDisplay(const char* key)
{
    // Before its first line the run is in no line: the text names none.
    ErrStrDisplay = platform::get_string(key);
    if (CurLineNum != 0) ErrStrDisplay += " in " + std::to_string(CurLineNum);
}

TException TVMachine::RuntimeException2(const char* key)
{
    GenerateErrStrDisplay(key);
    std::string text = platform::get_string("Runtime Error");
    text += "\n\n";
    text += platform::get_string(key);
    text += ".\n\n";
    if (CurLineNum != 0) {
        text += platform::replace_placeholder(platform::get_string("Line: %Num%"), "%Num%", std::to_string(CurLineNum));
        text += "\n";
    }
    return TException(static_cast<uint32_t>(CurLineNum), text);
}
