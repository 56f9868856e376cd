#pragma once
// The message codes of the application, its main window and the editor view: the menu
// commands and the requests of the dialogs and the machine. The preference notices the
// application relays, and Help, are shared with the dialog and the other windows
// (foundation/PrefsMessages.h). Fields are named where they are read.

#include <cstdint>

#include "foundation/MidiOutMessages.h"  // 'pmoc', 'ummr', 'rmmc'
#include "foundation/PrefsMessages.h"    // the preference notices, 'prcd' and '_hlp'
#include "platform/Message.h"
#include "platform/SystemMessages.h"

using platform::fourcc;

// Menu commands.
inline constexpr uint32_t kNewListMessage = fourcc("_new");
inline constexpr uint32_t kOpenMessage = fourcc("_opn");
inline constexpr uint32_t kSaveMessage = fourcc("_sav");
inline constexpr uint32_t kSaveAsMessage = fourcc("_sva");
inline constexpr uint32_t kRegisterMimeMessage = fourcc("rmim");
inline constexpr uint32_t kQuitMessage = fourcc("_QRQ");
inline constexpr uint32_t kDeleteAllMRULsMessage = fourcc("damr");
inline constexpr uint32_t kCutMessage = fourcc("CCUT");
inline constexpr uint32_t kCopyMessage = fourcc("COPY");
inline constexpr uint32_t kPasteMessage = fourcc("PSTE");
inline constexpr uint32_t kClearMessage = fourcc("clr");
inline constexpr uint32_t kSelectAllMessage = fourcc("SALL");
inline constexpr uint32_t kGoToLineMessage = fourcc("gtln");
inline constexpr uint32_t kRenumberMessage = fourcc("rnmb");
inline constexpr uint32_t kRunMessage = fourcc("run");
inline constexpr uint32_t kRunLineMessage = fourcc("runl");
inline constexpr uint32_t kKillMessage = fourcc("kill");
inline constexpr uint32_t kRepeatRunMessage = fourcc("rptr");
inline constexpr uint32_t kUseDebuggerMessage = fourcc("usdb");
inline constexpr uint32_t kPreferencesMessage = fourcc("_prf");
inline constexpr uint32_t kCommonPrefsMessage = fourcc("_Ssp");
inline constexpr uint32_t kShowRunWindowMessage = fourcc("srwn");
inline constexpr uint32_t kShowDebugWinMessage = fourcc("sdwn");
inline constexpr uint32_t kShowMainWinMessage = fourcc("smwn");
inline constexpr uint32_t kAuthorWebMessage = fourcc("_jaw");
inline constexpr uint32_t kAboutRequestedMessage = fourcc("_ABR");

// Requests to the editor view.
inline constexpr uint32_t kVMachineRunRequest = fourcc("vmrr");  // the machine's run request
inline constexpr uint32_t kRunLineRequest = fourcc("rnlr");      // "SISmplIptTxt": the start typed
inline constexpr uint32_t kGoToLineRequest = fourcc("gtlr");     // "SISmplIptTxt"
inline constexpr uint32_t kRenumberRequest = fourcc("rnmr");     // "NewLine", "OldLine", "Step"
inline constexpr uint32_t kAutoSaveTimerMessage = fourcc("asvr");
inline constexpr uint32_t kStartUpOfferMessage = fourcc("asof");
using platform::kRefsReceivedMessage;  // "refs"
inline constexpr uint32_t kSaveRequestedMessage = fourcc("SAVE");
inline constexpr uint32_t kSimpleDataMessage = fourcc("DATA");
using platform::kPanelCancelMessage;
inline constexpr uint32_t kAddHistoryRequest = fourcc("_ahr");     // "MRUF"
inline constexpr uint32_t kRemoveHistoryRequest = fourcc("_rhr");  // "MRUF"

// The editor's request that the run window map drive 1 to the list's folder, relayed
// by the application.
inline constexpr uint32_t kSetDriveFolderRequest = fourcc("sdfr");

// The splash window's status text: "StatStr".
inline constexpr uint32_t kSplashStatusMessage = fourcc("sssr");
