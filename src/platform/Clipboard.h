#pragma once
// The system clipboard: cleared, then given one picture.
class QImage;

namespace mvx {

// False (and the clipboard untouched) for a null image.
bool PutClipboardImage(const QImage& image);

} // namespace mvx
