#include "ui/runwindow/RunView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cctype>

#include "foundation/AppVersion.h"
#include "foundation/Common.h"
#include "foundation/MidiOutMessages.h"
#include "foundation/PrefsMessages.h"
#include "language/MidCode.h"
#include "machine/vm/VMachine.h"
#include "platform/Locale.h"
#include "platform/SystemMessages.h"
#include "platform/qt/KeyMessages.h"
#include "session/BootBanner.h"
#include "ui/runwindow/RunFont.h"
#include "ui/runwindow/ScreenCopy.h"
#include "ui/runwindow/ScreenRenderer.h"

namespace {

constexpr int kCursorBlinkMillis = 500;
constexpr TScreenRect kWholeScreen{0, 0, 640, 400};
constexpr int kGlyphSize = 16;

struct TSpecialKey {
    int qtKey;
    char byte;  // as the key buffer's translation expects it
};

// Keys without a printable character.
// clang-format off
constexpr TSpecialKey kSpecialKeys[] = {
    {Qt::Key_Home, 0x01},
    {Qt::Key_End, 0x04},
    {Qt::Key_Insert, 0x05},
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Return, 0x0A},
    {Qt::Key_Enter, 0x0A},
    {Qt::Key_PageUp, 0x0B},
    {Qt::Key_PageDown, 0x0C},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Left, 0x1C},
    {Qt::Key_Right, 0x1D},
    {Qt::Key_Up, 0x1E},
    {Qt::Key_Down, 0x1F},
    {Qt::Key_Delete, 0x7F},
};
// clang-format on

char special_key_byte(int qtKey)
{
    for (const TSpecialKey& key : kSpecialKeys)
        if (key.qtKey == qtKey) return key.byte;
    return 0;
}

bool is_modifier_key(int qtKey)
{
    return qtKey == Qt::Key_Control || qtKey == Qt::Key_Shift || qtKey == Qt::Key_Alt || qtKey == Qt::Key_Meta ||
           qtKey == Qt::Key_AltGr || qtKey == Qt::Key_CapsLock;
}

int32_t buttons_of(Qt::MouseButtons buttons)
{
    int32_t mask = 0;
    if (buttons & Qt::LeftButton) mask |= 1;
    if (buttons & Qt::RightButton) mask |= 2;
    return mask;
}

TGrphPoint point_of(const QMouseEvent* event)
{
    return TGrphPoint{static_cast<float>(event->position().x()), static_cast<float>(event->position().y())};
}

TRunSessionSettings session_settings()
{
    TRunSessionSettings settings;
    settings.CompatModePref = gPrefs.CompatMode.load();
    settings.Encoding = gPrefs.DefaultEncoding.load();
    return settings;
}

}  // namespace

TRunView::TRunView(platform::Rect frame, TAlertSink* alerts, std::unique_ptr<TRunMidiPorts> midi)
    : TBasicView(frame, "RunView", 0), mAlerts(alerts != nullptr ? alerts : &mOwnAlerts),
      mBackBuffer(640, 400, QImage::Format_RGB32)
{
    resize(640, 400);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    mBackBuffer.fill(Qt::black);

    TDeviceHost host;
    host.Screen = this;
    host.Glyphs = this;
    host.Keyboard = &mHeldKeys;
    host.Lamps = this;
    mSession = std::make_unique<TRunSession>(host, mAlerts, session_settings());
    std::string error;
    mSession->Start(error);  // nothing can fail on the real clock
    mSession->SetReadyListener([this] {
        SetWinTitle();
        SetUseSpeedControl();
    });
    mMidi = std::make_unique<TRunMidi>(midi ? std::move(midi) : make_alsa_run_midi_ports(), mSession->Player());
    SetFontFamilyAndSize();

    mCursorBlink.setInterval(kCursorBlinkMillis);
    QObject::connect(&mCursorBlink, &QTimer::timeout, this, [this] { CursorBlinkRqtd(); });
}

TRunView::~TRunView()
{
    mCursorBlink.stop();
    // The machine and the alarm end before the widget goes, so no thread posts to it.
    mSession.reset();
    mMidi.reset();
}

TMidCode* TRunView::MidCode()
{
    return &mSession->MidCode();
}

bool TRunView::RunEnded() const
{
    bool ended = true;
    mSession->WithMachine([&](TVMachine& machine) { ended = machine.IsTerminated(); });
    return ended;
}

void TRunView::SetUseSpeedControl()
{
    const bool use = gPrefs.UseSpeedControl.load();
    mSession->WithMachine([use](TVMachine& machine) {
        if (use)
            machine.HappenInterrupt(IR_SPEED_CONTROL);
        else
            machine.UnhappenInterrupt(IR_SPEED_CONTROL);
    });
}

// --- messages, attachment, title ---

void TRunView::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    case kCtrlKeyDownMessage: CtrlKeyDown(*message); break;
    case kCopyTextMessage: MItemCopyTextClicked(); break;
    case kCopyGraphicMessage: MItemCopyGrphClicked(*message); break;
    case kCopyCompositionMessage: MItemCopyCompositionClicked(); break;
    case kPrefsSpeedControlChanged: SetUseSpeedControl(); break;
    case kRefsReceivedMessage:
    case kSetDrvFolderMessage: RefsReceived(*message); break;
    case kEjectDrvFolderMessage: MItemEjectClicked(*message); break;
    case platform::kMidiRosterNotice: mMidi->MidiEvent(*message); break;
    case kPrefMidiOutChanged: mMidi->PrefMidiOutChanged(*message); break;
    case kPrefsRunFontChanged:
        SetFontFamilyAndSize();
        mSession->Rsrc().SetScrModifiedAll2();
        mSession->Rsrc().UpdateScreen();
        break;
    default: TBasicView::MessageReceived(message); break;
    }
}

void TRunView::AttachedToWindow()
{
    mCursorBlink.start();
    SetWinTitle();
    SendUpdateMenuDrvFolder(0);
    SendUpdateMenuDrvFolder(1);
    setFocus();
    ShowBootStr();
}

void TRunView::LanguageChanged()
{
    SetWinTitle();
}

std::string run_window_title(int32_t compatMode)
{
    std::string mode;
    switch (compatMode) {
    case 2: mode = platform::get_string("DISK-BASIC"); break;
    case 3: mode = platform::get_string("DOS-BASIC"); break;
    default: break;
    }
    return mode + " - " + kRunAppName + " " + platform::get_string("(Run Window)");
}

std::string TRunView::WinTitle() const
{
    return run_window_title(mSession->CompatMode());
}

void TRunView::SetWinTitle()
{
    if (TBasicWindow* window = Window()) window->setWindowTitle(QString::fromStdString(WinTitle()));
}

void TRunView::SetFontFamilyAndSize()
{
    mFont = run_font_from_prefs();
    mSession->Rsrc().SetFontHeight(font_height_of(mFont));
    QFont glyphFont = mFont;
    glyphFont.setPixelSize(kGlyphSize);
    std::lock_guard<std::mutex> lock(mGlyphLock);
    mGlyphFont = glyphFont;
}

void TRunView::ShowBootStr()
{
    print_boot_banner(mSession->Rsrc(), kRunAppName, gAppVer, host_free_memory_kbytes());
}

// --- drawing ---

void TRunView::ScreenUpdateRqtd(const TScreenRect&)
{
    // The area is taken when the drawing runs, so one post covers every request
    // made before it.
    if (mUpdatePending.exchange(true)) return;
    QMetaObject::invokeMethod(
        this, [this] { DrawPending(); }, Qt::QueuedConnection);
}

// The cursor's cell, whole when it stands on the right half of a two-column character,
// and the cell whose block the back buffer still shows.
void TRunView::MarkCursorCells()
{
    TBasicRsrc& rsrc = mSession->Rsrc();
    const int cells = rsrc.TxtRows * rsrc.TxtCols;
    if (mCursorDrawnAt >= 0 && mCursorDrawnAt < cells)
        rsrc.SetScrModifiedByTxt2(static_cast<short>(mCursorDrawnAt), static_cast<short>(mCursorDrawnAt));
    if (!rsrc.CsrShown.load() || rsrc.CsrIdx < 0 || rsrc.CsrIdx >= cells) return;
    short from = rsrc.CsrIdx;
    if (from > 0 && rsrc.CellIsRightHalf(from)) --from;
    rsrc.SetScrModifiedByTxt2(from, rsrc.CsrIdx);
}

void TRunView::DrawPending()
{
    mUpdatePending.store(false);
    TBasicRsrc& rsrc = mSession->Rsrc();
    TScreenRect area;
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        MarkCursorCells();
        area = rsrc.TakeScrModified();
    }
    if (area.IsEmpty()) return;
    const TScreenSnapshot shot = rsrc.SnapshotScreen(area);
    {
        QPainter painter(&mBackBuffer);
        render_screen(painter, shot, area, mFont, true);
    }
    mCursorDrawnAt = shot.CsrShown && shot.CsrBlink ? shot.CsrIdx : -1;
    update(screen_pixels_of(area));
}

void TRunView::CursorBlinkRqtd()
{
    TBasicRsrc& rsrc = mSession->Rsrc();
    rsrc.CsrBlink.fetch_xor(1);
    if (rsrc.CsrShown.load() || mCursorDrawnAt >= 0) DrawPending();
}

void TRunView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), mBackBuffer, event->rect());
}

bool TRunView::GlyphRows(const std::string& utf8, uint16_t rows[16]) const
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QList<uint> codes = text.toUcs4();
    if (codes.isEmpty()) return false;
    std::lock_guard<std::mutex> lock(mGlyphLock);
    const QFontMetrics metrics(mGlyphFont);
    if (!metrics.inFontUcs4(codes.front())) return false;
    QImage glyph(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    {
        QPainter painter(&glyph);
        painter.setFont(mGlyphFont);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, metrics.ascent()),
                         QString::fromUcs4(reinterpret_cast<const char32_t*>(&codes.front()), 1));
    }
    for (int y = 0; y < kGlyphSize; ++y) {
        uint16_t bits = 0;
        const QRgb* line = reinterpret_cast<const QRgb*>(glyph.constScanLine(y));
        for (int x = 0; x < kGlyphSize; ++x)
            if (qGray(line[x]) < 128) bits |= static_cast<uint16_t>(0x8000u >> x);
        rows[y] = bits;
    }
    return true;
}

// --- keys ---

void TRunView::RaiseInterrupt(uint32_t bit)
{
    mSession->WithMachine([bit](TVMachine& machine) { machine.HappenInterrupt(bit); });
}

void TRunView::KeyDown(const std::string& bytes)
{
    if (bytes.empty()) return;
    mSession->Rsrc().PushToKeyBuf(bytes.data(), static_cast<long>(bytes.size()));
    if (bytes[0] == 0x04) RaiseInterrupt(IR_HELP_KEY);
}

void TRunView::CtrlKeyDown(const platform::Message& message)
{
    int32_t byte = 0;
    if (message.FindInt32("raw_char", &byte) != platform::kOk || byte <= 0 || byte > 0x7F) return;
    if (byte == platform::kFunctionKeyChar) {
        // The byte stands for a function key, which "key" names.
        int32_t key = 0;
        message.FindInt32("key", &key);
        const int n = key - platform::kF1Key + 1;
        if (n >= 1 && n <= 10) FuncKeyDown(n);
        return;
    }
    if (std::toupper(byte) == 'C')
        mSession->PressStopKey();
    else
        KeyDown(std::string(1, static_cast<char>(byte)));
}

void TRunView::FuncKeyDown(int n)
{
    mSession->PressFuncKey(n);
}

void TRunView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (!event->isAutoRepeat()) mHeldKeys.Press(key);
    if (is_modifier_key(key)) return;
    if (event->modifiers() & Qt::ControlModifier) {
        // Through the window's queue, where its key filter makes it 'ctkd'.
        const platform::Message keyDown = platform::key_down_message(*event);
        if (TBasicWindow* window = Window())
            window->PostMessage(keyDown, this);
        else
            CtrlKeyDown(keyDown);
        return;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10) {
        FuncKeyDown(key - Qt::Key_F1 + 1);
        return;
    }
    if (const char byte = special_key_byte(key)) {
        KeyDown(std::string(1, byte));
        return;
    }
    for (const uint code : event->text().toUcs4()) {
        if (code < 0x20) continue;
        KeyDown(QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1).toStdString());
    }
}

void TRunView::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat()) mHeldKeys.Release(event->key());
}

void TRunView::inputMethodEvent(QInputMethodEvent* event)
{
    for (const uint code : event->commitString().toUcs4())
        KeyDown(QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1).toStdString());
    event->accept();
}

void TRunView::focusOutEvent(QFocusEvent* event)
{
    // Releases that happen elsewhere never reach the view.
    mHeldKeys.ReleaseAll();
    TBasicView::focusOutEvent(event);
}

// Tab is a key of the emulated machine, not a move to the next widget.
bool TRunView::focusNextPrevChild(bool)
{
    return false;
}

// --- mouse ---

void TRunView::mousePressEvent(QMouseEvent* event)
{
    TBasicView::mousePressEvent(event);
    mMouseButtons = buttons_of(event->buttons());
    const int32_t buttons = mMouseButtons;
    const TGrphPoint where = point_of(event);
    mSession->WithMachine([&](TVMachine& machine) {
        if (buttons & 1) {
            machine.SetMouseButtonLeftState(-1, where);
            machine.HappenInterrupt(IR_MOUSE_LEFT_DOWN);
        }
        if (buttons & 2) {
            machine.SetMouseButtonRightState(-1, where);
            machine.HappenInterrupt(IR_MOUSE_RIGHT_DOWN);
        }
    });
}

void TRunView::mouseReleaseEvent(QMouseEvent* event)
{
    TBasicView::mouseReleaseEvent(event);
    const int32_t buttons = mMouseButtons;
    const TGrphPoint where = point_of(event);
    mSession->WithMachine([&](TVMachine& machine) {
        if (buttons & 1) {
            machine.SetMouseButtonLeftState(0, where);
            machine.HappenInterrupt(IR_MOUSE_LEFT_UP);
        }
        if (buttons & 2) {
            machine.SetMouseButtonRightState(0, where);
            machine.HappenInterrupt(IR_MOUSE_RIGHT_UP);
        }
    });
}

void TRunView::mouseMoveEvent(QMouseEvent* event)
{
    TBasicView::mouseMoveEvent(event);
    const TGrphPoint where = point_of(event);
    mSession->WithMachine([&](TVMachine& machine) {
        machine.SetMousePosCurrent(where);
        machine.HappenInterrupt(IR_MOUSE_MOVE);
    });
}

// --- copying ---

void TRunView::MItemCopyTextClicked()
{
    const std::string text = screen_copy_text(mSession->Rsrc().SnapshotScreen(kWholeScreen));
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void TRunView::MItemCopyGrphClicked(const platform::Message& message)
{
    int32_t page = 0;
    if (message.FindInt32("GrphPage", &page) != platform::kOk || page < -1 || page > 3) return;
    QGuiApplication::clipboard()->setImage(graphics_page_image(mSession->Rsrc(), page));
}

void TRunView::MItemCopyCompositionClicked()
{
    QGuiApplication::clipboard()->setImage(composition_image(mSession->Rsrc(), mFont));
}
