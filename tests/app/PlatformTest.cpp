// The platform layer: filter strings, twips, the rate-limited yield, pointer shapes and the clipboard.
#include "AppTestSupport.h"

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/EventYield.h"
#include "platform/MousePointer.h"
#include "platform/Twips.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>

namespace mvx::test {
namespace {

TEST(QtFilterString, TurnsBarSeparatedPairsIntoQtFilters) {
    EXPECT_EQ(QtFilterString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
              "Text Files (*.txt);;All Files (*)");
    EXPECT_EQ(QtFilterString("Matlab files (*.mat)|*.mat|All Files (*.*)|*.*"),
              "Matlab files (*.mat);;All Files (*)");
    // Several patterns of one entry are separated by semicolons in the program's form.
    EXPECT_EQ(QtFilterString("Ensembles|*.000;*.ENX"), "Ensembles (*.000 *.ENX)");
    // A lone pattern (no description) stands for itself.
    EXPECT_EQ(QtFilterString("*.txt"), "*.txt (*.txt)");
    EXPECT_EQ(QtFilterString(""), "");
}

TEST(Twips, ConvertsWithTheGivenScale) {
    // One inch is 1440 twips: 96 pixels at 15 twips per pixel, 120 at 12.
    EXPECT_EQ(TwipsToPixels(1440, 15), 96);
    EXPECT_EQ(TwipsToPixels(1440, 12), 120);
    EXPECT_EQ(PixelsToTwips(96, 15), 1440);
    // Halves go to the even neighbour: 22.5 / 15 = 1.5 -> 2, 37.5 / 15 = 2.5 -> 2.
    EXPECT_EQ(TwipsToPixels(22.5, 15), 2);
    EXPECT_EQ(TwipsToPixels(37.5, 15), 2);
    EXPECT_EQ(TwipsToPixels(-30, 15), -2);
}

TEST(EventYield, ProcessesEventsAtMostOncePerInterval) {
    EnsureApplication();
    EventYield slow(3600 * 1000);
    int ran = 0;
    QTimer::singleShot(0, [&ran] { ++ran; });
    slow();
    EXPECT_EQ(ran, 1);
    QTimer::singleShot(0, [&ran] { ++ran; });
    slow(); // within the interval: nothing happens
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(slow.Count(), 1);
    slow.Now();
    EXPECT_EQ(ran, 2);
}

TEST(EventYield, NeverReentersItself) {
    EnsureApplication();
    EventYield yield(0);
    int inner = 0;
    // An event handled during the yield that itself asks to yield must not start a nested round.
    QTimer::singleShot(0, [&] {
        ++inner;
        EXPECT_TRUE(yield.Inside());
        yield();
        yield.Now();
    });
    yield();
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(yield.Count(), 1);
    EXPECT_FALSE(yield.Inside());
}

TEST(MousePointer, HourglassAndCrossOverrideAndDefaultRestores) {
    EnsureApplication();
    {
        MousePointer pointer;
        pointer.Set(PointerShape::Hourglass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        pointer.Set(PointerShape::Cross);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        pointer.Set(PointerShape::Hourglass);
        // One Default removes the override completely, however many shapes were set before.
        pointer.Set(PointerShape::Default);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(pointer.Shape(), PointerShape::Default);
        pointer.Set(PointerShape::Hourglass);
    }
    // Going away restores the pointer too.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Clipboard, ReceivesThePicture) {
    EnsureApplication();
    QImage picture(31, 17, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    picture.setPixelColor(30, 16, QColor(250, 0, 0));
    ASSERT_TRUE(PutClipboardImage(picture));
    const QImage back = QGuiApplication::clipboard()->image();
    ASSERT_EQ(back.size(), QSize(31, 17));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(10, 200, 30));
    EXPECT_EQ(back.pixelColor(30, 16), QColor(250, 0, 0));
    // A null picture leaves the clipboard as it was.
    EXPECT_FALSE(PutClipboardImage(QImage()));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(31, 17));
}

} // namespace
} // namespace mvx::test
