#pragma once
// The emulated machine's devices: the text screen and the machine settings that
// outlast a run. One TBasicRsrc lives as long as its owner (the run view, or the
// headless driver) and is driven by one machine per run.
//
// The text screen is a store of 2500 cells of four bytes: one character in UTF-8
// (one to three bytes) and a zero byte, or a marker in the first byte:
//   0x01 the cell is empty; 0x02 the cell is the right half of the two-column
//   character in the cell before it.
// Cell index = row × TxtCols + column; the first TxtRows × TxtCols cells are shown.
// The console window (rows ConsoleTop up to, not including, ConsoleBottom) is the
// only part that scrolls.
//
// ScrLock guards the text-screen state; the machine thread holds it while it changes
// that state (the operations here take it themselves, handlers that change fields
// directly take it around the change) and the drawing thread while it reads. Lock
// order: the window's lock, then ScrLock. The other devices (graphics pages, key
// buffer, drives, files) live in files of their own.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "foundation/CharColor.h"
#include "machine/files/DriveFolders.h"
#include "machine/files/DriveLamps.h"
#include "machine/files/KivoFile.h"
#include "machine/host/HostInterfaces.h"
#include "machine/host/ScreenRect.h"
#include "machine/input/KeyBuffer.h"
#include "machine/screen/GraphicsPages.h"
#include "machine/screen/ScreenSnapshot.h"

// What the devices call outside the core; any pointer may be null (nothing happens).
struct TDeviceHost {
    TScreenUpdateSink* Screen = nullptr;
    TOnTimeTimer* OnTime = nullptr;
    TDriveLamps* Lamps = nullptr;
    TGlyphSource* Glyphs = nullptr;
    TKeyboardState* Keyboard = nullptr;
};

// Metrics of the screen font, in pixels.
struct TFontHeight {
    float ascent = 13;
    float descent = 3;
    float leading = 0;
};

class TBasicRsrc {
public:
    static constexpr int TXT_BUF_CELLS = 2500;
    static constexpr int SCREEN_WIDTH = 640;
    static constexpr int SCREEN_HEIGHT = 400;
    static constexpr char CELL_EMPTY = 0x01;
    static constexpr char CELL_RIGHT_HALF = 0x02;

    TBasicRsrc();
    virtual ~TBasicRsrc();

    TBasicRsrc(const TBasicRsrc&) = delete;
    TBasicRsrc& operator=(const TBasicRsrc&) = delete;

    void Init();
    void SetOwner(const TDeviceHost& host);
    const TDeviceHost& Owner() const { return mHost; }

    // Hands an ON TIME$ text to the host's timer: 0 accepted, −1 malformed.
    long SetOnTimeDl(const char* time);

    // Called by the drawing side when it chooses its screen font.
    void SetFontHeight(const TFontHeight& height);
    void CalcTxtSize();
    void InitTxtColPal();

    // --- text screen ---
    void Print(const char* text);
    void DoCRLF();
    void ScrollTxt2(short n);
    void ClearTxtBuf(signed char from, signed char to);
    void SlideTxtToLeft(short i);
    std::string DisplayedTxt(short a, short b) const;

    // --- the changed area and redrawing ---
    void SetScrModifiedByTxt2(short a, short b);
    void SetScrModifiedKernel2(const TScreenRect& r);
    void SetScrModifiedAll2();
    // Asks the host to redraw the changed area; never waits for the drawing side.
    void UpdateScreen();
    // For the drawing side: the changed area, which is emptied.
    TScreenRect TakeScrModified();

    // The text of the shown screen, one row a line, for copying and for tests.
    std::string ScreenText() const;
    // Copies, under ScrLock, what redrawing `area` needs (BasicRsrcSnapshot.cpp); an
    // empty area, or one wholly off the screen, gives an empty snapshot.
    TScreenSnapshot SnapshotScreen(const TScreenRect& area) const;

    // Helpers for reading a cell.
    bool CellIsEmpty(int idx) const { return TxtBuf[idx][0] == CELL_EMPTY; }
    bool CellIsRightHalf(int idx) const { return TxtBuf[idx][0] == CELL_RIGHT_HALF; }

    // --- drives and open files (BasicRsrcFiles.cpp) ---
    static constexpr int FILE_COUNT = 15;
    // Lights the lamp of drive index 0 or 1; other drives have none.
    void SetFDDAccessLampByDriveIndex(long drive);
    // Lights the lamp of the drive on which file number n (1 to 15) was opened.
    void SetFDDAccessLampByFileDesc(long n);
    // Closes every file slot.
    void CloseAllFiles();
    TDriveFolders DrvFolders;
    TKivoFile OpenFiles[FILE_COUNT];
    TDriveLampControl DrvLamps;

    // --- key buffer and function keys (BasicRsrcKeys.cpp) ---
    // The window's thread pushes typed keys; the machine thread pops them. A waiting
    // pop returns CR when `stop` becomes true; `clock` null is the system clock.
    void PushToKeyBuf(const char* bytes, long count);
    std::string PopFromKeyBuf(const std::atomic<bool>* stop = nullptr, const THostClock* clock = nullptr);
    std::string PopFromKeyBufWithTimeout(long long timeout, const std::atomic<bool>* stop = nullptr,
                                         const THostClock* clock = nullptr);
    void ClearKeyBuf();
    void InitFuncKeyStr();
    // Function key n, 1 to 10.
    std::string FuncKeyStr(int n) const;
    void SetFuncKeyStr(int n, const std::string& text);
    // What F1 to F10 type: the key's string, one byte an entry.
    void PushFuncKeyStr(int n);
    TKeyBuffer KeyBuffer;

    // --- graphics pages (BasicRsrcGraphics.cpp) ---
    // Clears the four pages, restores the palette, page 0 active and displayed.
    void InitGraphics();
    // Clears the active page in the background colour and marks the whole page.
    void ClearGrphBuf();
    // Marks a page rectangle (corners in any order) for redrawing, only when the
    // active page is the displayed one and graphics are shown.
    void SetScrModifiedByGrph2(const TScreenRect& r);
    // Converts the displayed page when a palette change left it pending.
    void TransferGrphBmpPalToReal();
    // What the screen shows behind the text: 640 × 400 words 0xFFRRGGBB.
    void ComposeGraphics(uint32_t* out) const;
    TGraphicsPages Graphics;

    mutable std::recursive_mutex ScrLock;

    // Fields, as the machine's handlers and the drawing side use them directly.
    std::atomic<uint8_t> CsrBlink{0};
    std::atomic<uint8_t> CsrShown{0};
    uint8_t GrphShown = 1;
    char TxtBuf[TXT_BUF_CELLS][4] = {};
    uint8_t TxtAttr[TXT_BUF_CELLS] = {};
    int8_t GrphVertFactor = 2;
    int8_t GrphBgCol = 0;
    int8_t GrphFgCol = 7;
    int8_t OptionBase = 0;
    int8_t ActivePage = 0;
    int8_t DisplayPage = 0;
    int8_t ColMode = 0;
    int8_t ConsoleTop = 0;
    int8_t ConsoleBottom = 25;
    int8_t TxtCol = 7;
    int8_t CellHeight = 16;
    int8_t TxtRows = 25;
    int8_t TxtCols = 80;
    int8_t CellWidth = 8;
    int16_t CsrIdx = 0;
    // Rows the console window has scrolled up so far: a reader that remembers a place
    // in the window (the INPUT line editor) moves it up by as many rows as this grows.
    uint64_t TxtRowsScrolled = 0;
    uint32_t DefSeg = 0;
    float TxtBaseline = 0;
    rgb_color DefColPal[8];
    rgb_color TxtColPal[8];
    TScreenRect ScrModified;
    TFontHeight FontHeight;

private:
    void EmptyCell(int idx);
    int CharWidthAt(const char* p, int n) const;
    // The bodies of ScrollTxt2 and SetScrModifiedByTxt2 for callers that hold ScrLock
    // already: a printed line then takes the lock once, not once for every step. The
    // scroll moves the window's rows only; each caller moves the cursor with them.
    void ScrollTxtLocked(int64_t n);
    void MarkTxtModifiedLocked(short a, short b);

    TDeviceHost mHost;
};
