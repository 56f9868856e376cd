#include "ui/app/MainMenuTable.h"

#include "foundation/PrefsMessages.h"
#include "ui/app/AppMessages.h"

namespace {

using K = TMenuRowKind;
using T = TMenuTarget;

// clang-format off
constexpr TMainMenuRow kMainMenu[] = {
    // kind          label                         key  dots   message                  Ctrl target
    {K::Title,      "File",                       "F", false, 0,                       0,   T::None},
    {K::Item,       "New",                        "N", false, kNewListMessage,         'N', T::EditorView},
    {K::Submenu,    "Open",                       "O", true,  kOpenMessage,            'O', T::Window},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Delete All MRULs",           "D", false, kDeleteAllMRULsMessage,  0,   T::Window},
    {K::SubmenuEnd, nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Save",                       "S", false, kSaveMessage,            'S', T::EditorView},
    {K::Item,       "Save As",                    "A", true,  kSaveAsMessage,          '2', T::Window},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Register MIME",              "R", false, kRegisterMimeMessage,    0,   T::Application},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Quit",                       "Q", false, kQuitMessage,            'Q', T::Window},
    {K::Title,      "Edit",                       "E", false, 0,                       0,   T::None},
    {K::Item,       "Cut",                        "X", false, kCutMessage,             'X', T::EditorView},
    {K::Item,       "Copy",                       "C", false, kCopyMessage,            'C', T::EditorView},
    {K::Item,       "Paste",                      "V", false, kPasteMessage,           'V', T::EditorView},
    {K::Item,       "Clear",                      "L", false, kClearMessage,           0,   T::EditorView},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Select All",                 "A", false, kSelectAllMessage,       'A', T::EditorView},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Go to Line",                 "G", true,  kGoToLineMessage,        ',', T::Application},
    {K::Item,       "Renumber",                   "R", true,  kRenumberMessage,        0,   T::Application},
    {K::Title,      "Run",                        "R", false, 0,                       0,   T::None},
    {K::Item,       "Run",                        "R", false, kRunMessage,             'R', T::EditorView},
    {K::Item,       "Run (with Line Number)",     "L", true,  kRunLineMessage,         0,   T::Application},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Kill",                       "K", false, kKillMessage,            'K', T::EditorView},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Repeat",                     "E", false, kRepeatRunMessage,       0,   T::Window},
    {K::Item,       "Use Debugger",               "D", false, kUseDebuggerMessage,     0,   T::Window},
    {K::Title,      "Tool",                       "T", false, 0,                       0,   T::None},
    {K::Item,       "Preferences",                "P", true,  kPreferencesMessage,     'P', T::Application},
    {K::Item,       "TAVREN Common Preferences",  "S", true,  kCommonPrefsMessage,     0,   T::Application},
    {K::Title,      "Window",                     "W", false, 0,                       0,   T::None},
    {K::Item,       "Run Window",                 "R", false, kShowRunWindowMessage,   0,   T::Application},
    {K::Item,       "Debug Window",               "D", false, kShowDebugWinMessage,    0,   T::Application},
    {K::Title,      "Help",                       "H", false, 0,                       0,   T::None},
    {K::Item,       "Help",                       "H", false, kHelpMessage,            0,   T::Application},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "Open %AppAuthor%'s Web",     "J", false, kAuthorWebMessage,       0,   T::Application},
    {K::Separator,  nullptr,                      "",  false, 0,                       0,   T::None},
    {K::Item,       "About",                      "A", true,  kAboutRequestedMessage,  0,   T::Application},
};
// clang-format on

}  // namespace

std::span<const TMainMenuRow> main_menu_rows()
{
    return kMainMenu;
}
