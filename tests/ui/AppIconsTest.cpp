#include "ui/guibase/AppIcons.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

bool has_visible_pixel(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}

QImage filled_red(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

TEST(AppIcons, BothIconsAreReadAtTheirSizes)
{
    QImage large;
    QImage mini;
    EXPECT_EQ(get_icons(&large, &mini), platform::kOk);
    EXPECT_EQ(large.size(), QSize(32, 32));
    EXPECT_EQ(mini.size(), QSize(16, 16));
    EXPECT_TRUE(has_visible_pixel(large));
    EXPECT_TRUE(has_visible_pixel(mini));
}

TEST(AppIcons, OnlyTheIconsAskedForAreMade)
{
    struct Case {
        bool large;
        bool mini;
    };
    for (const Case& c : {Case{true, false}, Case{false, true}, Case{false, false}}) {
        QImage large;
        QImage mini;
        EXPECT_EQ(get_icons(c.large ? &large : nullptr, c.mini ? &mini : nullptr), platform::kOk);
        EXPECT_EQ(large.isNull(), !c.large);
        EXPECT_EQ(mini.isNull(), !c.mini);
    }
}

TEST(AppIcons, UnreadableIconIsClearedAndReported)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString notPng = folder.filePath(QStringLiteral("icon.png"));
    QFile file(notPng);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();

    struct Case {
        const char* name;
        QString resource;
        int size;
        platform::status_t status;
    };
    const Case cases[] = {
        {"missing resource", QStringLiteral(":/kivo/icons/missing.png"), 32, platform::kIoError},
        {"not a PNG", notPng, 16, platform::kIoError},
        {"another size", kMiniIconResource, 32, platform::kBadData},
    };
    for (const Case& c : cases) {
        // What the image held before must not show through.
        QImage icon = filled_red(c.size);
        EXPECT_EQ(load_icon(c.resource, c.size, &icon), c.status) << c.name;
        EXPECT_EQ(icon.size(), QSize(c.size, c.size)) << c.name;
        EXPECT_FALSE(has_visible_pixel(icon)) << c.name;
    }
}

}  // namespace
