// Pictures of the widgets for a person to look at: written into KIVO_SHOT_DIR when it
// is set (run under xvfb-run for a real window system), checked for their size always.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include "foundation/AppVersion.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/widgets/SimpleInput.h"
#include "ui/widgets/TAVRENAbout.h"
#include "ui/widgets/ToolBar.h"
#include "ui/widgets/ToolButton.h"
#include "ui/widgets/ToolImageQt.h"

namespace {

void Save(QWidget* widget, const char* file)
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QImage shot = widget->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QByteArray dir = qgetenv("KIVO_SHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(dir) + "/" + file)) << file;
}

// Six 16 by 16 icons: run, pause, step over, step in, step out, kill.
ToolImage Icon(int which)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    switch (which) {
    case 0: {
        QPainterPath triangle;
        triangle.moveTo(4, 2);
        triangle.lineTo(13, 8);
        triangle.lineTo(4, 14);
        triangle.closeSubpath();
        p.fillPath(triangle, QColor(0, 150, 0));
        break;
    }
    case 1:
        p.fillRect(4, 3, 3, 10, QColor(0, 0, 160));
        p.fillRect(9, 3, 3, 10, QColor(0, 0, 160));
        break;
    case 2:
    case 3:
    case 4:
        p.setPen(QPen(QColor(0, 0, 0), 2));
        p.drawLine(3, which == 3 ? 3 : 12, 12, which == 4 ? 3 : 12);
        p.fillRect(7, 7, 3, 3, QColor(200, 100, 0));
        break;
    default: p.fillRect(3, 3, 10, 10, QColor(190, 0, 0)); break;
    }
    p.end();
    return tool_image_from_qimage(image);
}

void LookOfBar(bool flat, const char* file)
{
    QWidget window;
    window.resize(200, 28);
    QFont small = window.font();
    small.setPixelSize(10);
    window.setFont(small);
    auto* bar = new TToolBar("ToolBar", &window);
    for (int i = 0; i < 6; ++i) {
        if (i == 5) bar->AddSeparatorItem();
        uint32_t behaviour = i == 1 ? TToolButton::kToggleBehavior : TToolButton::kPushBehavior;
        bar->AddItem(new TToolButton("TB" + std::to_string(i), Icon(i), platform::Message(), behaviour));
    }
    bar->ItemAt(1)->SetValue(1);  // pause is on
    bar->SetFlat(flat);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(bar->height(), 28);
    EXPECT_EQ(bar->width(), 200);
    Save(bar, file);
}

}  // namespace

TEST(Look, ToolBarRaised)
{
    LookOfBar(false, "toolbar-raised.png");
}

TEST(Look, ToolBarFlat)
{
    LookOfBar(true, "toolbar-flat.png");
}

TEST(Look, AboutBox)
{
    TTAVRENAboutWindow window(platform::Rect{100, 100, 101, 101});
    window.SetAppInfo("Kivo-BASIC", gAppVer);
    window.SetTranslatorInfo("%LangNameInNative% translation by %TranslatorName%");
    window.Appear();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.Bounds(), (platform::Rect{0, 0, 320, 243}));
    Save(&window, "about.png");
}

TEST(Look, InputDialog)
{
    TSimpleInputWindow window(platform::Rect{100, 100, 101, 101}, "Go to Line", kButtonWidthFixed);
    window.SetLabel(merge_accelerator_key(kDefaultAccKeyFormat, "L", "Line:"));
    window.SetButtonLabel(B_DEFAULT_BUTTON, merge_accelerator_key(kDefaultAccKeyFormat, "O", "OK"));
    window.SetButtonLabel(B_CANCEL_BUTTON, merge_accelerator_key(kDefaultAccKeyFormat, "Esc", "Cancel"));
    window.SetText("1200");
    window.Appear();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.View()->DefaultButton()->text(), "OK(O)");
    Save(&window, "input.png");
}
