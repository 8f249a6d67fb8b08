#pragma once
// Twips (1/1440 inch), the unit of every window position the program stores, and screen pixels.
class QScreen;
class QWidget;

namespace mvx {

// 1440 / the screen's logical dots per inch (15 at 96 dpi). The primary screen when screen is null;
// 15 when there is no screen at all.
double TwipsPerPixel(const QScreen* screen = nullptr);
// The screen a widget is on (the primary one when it is not shown yet).
double TwipsPerPixel(const QWidget* widget);

// Conversions with the given twips per pixel, rounded to the nearest whole unit, halves to even.
int TwipsToPixels(double twips, double twipsPerPixel);
int PixelsToTwips(double pixels, double twipsPerPixel);

} // namespace mvx
