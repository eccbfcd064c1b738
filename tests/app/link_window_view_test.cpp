// The link window's message to bring the main window up, and the two window icons it shows.
#include "app_fixture.h"
#include "form1.h"
#include "formmain.h"

#include <QImageReader>

#include <gtest/gtest.h>

namespace {

TEST(TFormMain, DoubleClickMessageBringsTheMainWindowUp) {
    AppFixture f;
    TForm1 main(f.ctx);
    f.ctx.windows.Form1 = &main;
    TFormMain link(f.ctx);
    struct Case {
        unsigned message;
        long long lParam;
        bool handled, shown;
    };
    const Case cases[] = {
        {0x1234, 0x201, true, false},  // a single click: the message is the window's, nothing shows
        {0x1000, 0x203, false, false}, // another message
        {0x1234, 0x203, true, true},   // the left double click
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lParam);
        main.hide();
        EXPECT_EQ(link.HandleMessage(c.message, c.lParam), c.handled);
        EXPECT_EQ(main.isVisible(), c.shown);
    }
    EXPECT_FALSE(link.isVisible()); // the link window itself is never shown
}

TEST(LinkIcons, BothIconsReadWithTheirThreeSizes) {
    for (const char* name : {"icon1.ico", "icon2.ico"}) {
        SCOPED_TRACE(name);
        QImageReader reader(QStringLiteral(VANTREL_OUT_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
        EXPECT_EQ(reader.imageCount(), 3);
        QList<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            reader.jumpToImage(i);
            const QImage image = reader.read();
            sizes << image.width();
            EXPECT_TRUE(image.hasAlphaChannel());
        }
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, (QList<int>{16, 32, 48}));
    }
}

} // namespace
