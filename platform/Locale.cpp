#include "platform/Locale.h"

#include <atomic>
#include <map>
#include <mutex>
#include <shared_mutex>

namespace platform {

namespace {

// Keys with a text of their own in English. A key that is its own English text
// ("Creating windows") needs no entry; nor does a "$...$" key, whose caller supplies
// the default when the catalogue has none.
const CatalogueText kEnglishTexts[] = {
    // Compile errors
    {"@Compile_Err_Syntax_Err@", "Syntax error"},
    {"@Compile_Err_Direct_Statement@", "Line without a valid line number"},
    {"@Compile_Err_Assign_Unlvalue@", "Cannot assign to this"},
    {"@Compile_Err_Cannot_Hat_String@", "A string cannot be raised to a power"},
    {"@Compile_Err_Cannot_Logic_String@", "A string cannot be used in a logical operation"},
    {"@Compile_Err_Cannot_Mul_Div_String@", "A string cannot be multiplied or divided"},
    {"@Compile_Err_Cannot_Nega_String@", "A string cannot be negated"},
    {"@Compile_Err_Cannot_Sub_String@", "A string cannot be subtracted"},
    {"@Compile_Err_For_Without_Next@", "FOR without NEXT"},
    {"@Compile_Err_For_Without_To@", "FOR without TO"},
    {"@Compile_Err_If_Without_Then@", "IF without THEN or GOTO"},
    {"@Compile_Err_Ill_Def_Var_Type@", "Illegal variable type definition"},
    {"@Compile_Err_Ill_Func_Call@", "Illegal function call"},
    {"@Compile_Err_List_Too_Large@", "Out of memory: the list is too large to compile"},
    {"@Compile_Err_Missing_Operand@", "Missing operand"},
    {"@Compile_Err_Next_Without_For@", "NEXT without FOR"},
    {"@Compile_Err_No_Comma@", "\",\" expected"},
    {"@Compile_Err_No_Equal@", "\"=\" expected"},
    {"@Compile_Err_No_LPar@", "\"(\" expected"},
    {"@Compile_Err_No_Minus@", "\"-\" expected"},
    {"@Compile_Err_No_RPar@", "\")\" expected"},
    {"@Compile_Err_No_Semi_Colon@", "\";\" expected"},
    {"@Compile_Err_Too_Many_Operand@", "Too many operands"},
    {"@Compile_Err_Type_Mismatch_Arg@", "Type mismatch in argument"},
    {"@Compile_Err_Type_Mismatch_Assign@", "Type mismatch in assignment"},
    {"@Compile_Err_Type_Mismatch_Calc@", "Type mismatch in expression"},
    {"@Compile_Err_Unknown_Symbol %Symbol%@", "Unknown character \"%Symbol%\""},
    {"@Compile_Err_Wend_Without_While@", "WEND without WHILE"},
    {"@Compile_Err_While_Without_Wend@", "WHILE without WEND"},
    // Run-time errors
    {"@Runtime_Err_Bad_Dimension@", "Wrong number of subscripts"},
    {"@Runtime_Err_Bad_Drive_Number@", "Bad drive number"},
    {"@Runtime_Err_Bad_File_Number@", "Bad file number"},
    {"@Runtime_Err_Bad_MML@", "Illegal music string"},
    {"@Runtime_Err_Cannot_Open_File@", "Cannot open file"},
    {"@Runtime_Err_Disk_Offline@", "Disk offline"},
    {"@Runtime_Err_Div_By_Zero@", "Division by zero"},
    {"@Runtime_Err_File_Already_Open@", "File already open"},
    {"@Runtime_Err_File_Not_Found@", "File not found"},
    {"@Runtime_Err_File_Not_Open@", "File not open"},
    {"@Runtime_Err_Ill_Func_Call@", "Illegal function call"},
    {"@Runtime_Err_Input_Past_End@", "Input past end"},
    {"@Runtime_Err_Out_Of_Data@", "Out of DATA"},
    {"@Runtime_Err_PutAt_Before_GetAt@", "PUT@ before GET@"},
    {"@Runtime_Err_Return_Without_Gosub@", "RETURN without GOSUB"},
    {"@Runtime_Err_Stop_Break@", "Break"},
    {"@Runtime_Err_Subscript_Out_Of_Range@", "Subscript out of range"},
    {"@Runtime_Err_Type_Mismatch@", "Type mismatch"},
    {"@Runtime_Err_Undefined_Label@", "Undefined label"},
    {"@Runtime_Err_Undefined_Line_Number@", "Undefined line number"},
    {"@Runtime_Err_Undefined_User_Func@", "Undefined user function"},
    // Application
    {"@Ask_Auto_Open %AppName%@", "%AppName% was not closed normally last time. Open the automatically saved list?"},
    {"@Warning_Invalid_Auto_Save@",
     "If you answer No, it is not lost: it is kept in %FolderName% under a name with \"declined\" and the date "
     "and time."},
    {"@Ask_Del_All_MRULs@", "Delete every entry of this list?"},
    {"@Err_Bad_Bin_Save@", "This binary-saved list cannot be read."},
    {"@Err_Cannot_Create_Pref_Win@", "The shared preferences window cannot be created."},
    {"@Hint_Excutable_Maybe_Broken@", "The program's files may be damaged."},
    {"@Err_Line_Not_Input@", "Enter a line number."},
    {"@Err_Specified_Line_Not_Found@", "There is no line with this number."},
};

struct Catalogue {
    std::shared_mutex mutex;
    std::map<std::string_view, std::string_view, std::less<>> texts;

    Catalogue()
    {
        for (const CatalogueText& t : kEnglishTexts) texts[t.key] = t.text;
    }
};

Catalogue& catalogue()
{
    static Catalogue instance;
    return instance;
}

std::atomic<bool> gKeyIdentity{false};

}  // namespace

std::string get_string(std::string_view key)
{
    if (gKeyIdentity.load(std::memory_order_relaxed)) return std::string(key);
    Catalogue& c = catalogue();
    std::shared_lock lock(c.mutex);
    auto it = c.texts.find(key);
    return std::string(it == c.texts.end() ? key : it->second);
}

std::string replace_placeholder(std::string text, std::string_view placeholder, std::string_view value)
{
    if (placeholder.empty()) return text;
    std::string result;
    size_t from = 0;
    for (size_t at; (at = text.find(placeholder, from)) != std::string::npos; from = at + placeholder.size()) {
        result.append(text, from, at - from);
        result.append(value);
    }
    result.append(text, from, std::string::npos);
    return result;
}

void use_key_identity_catalogue(bool on)
{
    gKeyIdentity.store(on, std::memory_order_relaxed);
}

void add_catalogue_texts(const CatalogueText* texts, size_t count)
{
    Catalogue& c = catalogue();
    std::unique_lock lock(c.mutex);
    for (size_t i = 0; i < count; ++i) c.texts[texts[i].key] = texts[i].text;
}

}  // namespace platform
