#include "machine/devices/BasicRsrc.h"

#include "machine/screen/GraphicsPalette.h"

TBasicRsrc::TBasicRsrc()
{
    for (int i = 0; i < 8; ++i) DefColPal[i] = digital_colour(i);
    ScrModified = TScreenRect{};
    Init();
}

TBasicRsrc::~TBasicRsrc() = default;

void TBasicRsrc::Init()
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    CsrBlink = 0;
    CsrShown = 0;
    GrphShown = 1;
    GrphVertFactor = 2;
    GrphBgCol = 0;
    GrphFgCol = 7;
    OptionBase = 0;
    ColMode = 0;
    ConsoleTop = 0;
    ConsoleBottom = 25;
    TxtCol = 7;
    TxtRows = 25;
    TxtCols = 80;
    DefSeg = 0;
    CalcTxtSize();
    SetScrModifiedAll2();
    InitTxtColPal();
    for (int i = 0; i < 2000; ++i) EmptyCell(i);
    CsrIdx = 0;
    SetScrModifiedByTxt2(0, 1999);
    ActivePage = 0;
    DisplayPage = 0;
    InitGraphics();
}

void TBasicRsrc::SetOwner(const TDeviceHost& host)
{
    mHost = host;
}

long TBasicRsrc::SetOnTimeDl(const char* time)
{
    if (mHost.OnTime == nullptr) {
        int h, m, s;
        return parse_on_time_text(time, h, m, s) ? 0 : -1;
    }
    return mHost.OnTime->SetOnTimeDl(time);
}

void TBasicRsrc::SetFontHeight(const TFontHeight& height)
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    FontHeight = height;
    CalcTxtSize();
}

void TBasicRsrc::CalcTxtSize()
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    CellWidth = static_cast<int8_t>(SCREEN_WIDTH / TxtCols);
    CellHeight = static_cast<int8_t>(SCREEN_HEIGHT / TxtRows);
    TxtBaseline = FontHeight.ascent + (CellHeight - (FontHeight.ascent + FontHeight.descent)) / 2;
}

void TBasicRsrc::InitTxtColPal()
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    for (int i = 0; i < 8; ++i) TxtColPal[i] = DefColPal[i];
}

void TBasicRsrc::SetScrModifiedKernel2(const TScreenRect& r)
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    if (ScrModified.IsEmpty())
        ScrModified = r;
    else
        ScrModified.Include(r);
}

void TBasicRsrc::SetScrModifiedAll2()
{
    SetScrModifiedByGrph2(TScreenRect{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT});
}

void TBasicRsrc::UpdateScreen()
{
    TScreenRect area;
    {
        std::lock_guard<std::recursive_mutex> lock(ScrLock);
        area = ScrModified;
    }
    // Posted outside ScrLock: the receiver may take the window's lock, which comes
    // before ScrLock in the lock order.
    if (!area.IsEmpty() && mHost.Screen != nullptr) mHost.Screen->ScreenUpdateRqtd(area);
}

TScreenRect TBasicRsrc::TakeScrModified()
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    TScreenRect area = ScrModified;
    ScrModified = TScreenRect{};
    return area;
}
