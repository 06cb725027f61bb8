#pragma once

#include <QImage>

namespace tolvane {

// Paints a whole skinned window once per caption-button state and cuts the frame's pieces
// out of it, so that corners, edges and middles always meet.
class SkinArtist
{
public:
    // Picture 101 to 114 at its own size, drawn at `scale` device pixels to a pixel (the
    // colour strip 112 is a table and has one size).
    QImage picture(int id, double scale = 1) const;

private:
    enum Lit { None, Minimise, Maximise, Close };
    QImage window(Lit lit, double scale, bool restore = false) const;
    void paintShadowAndBody(QImage &image, double scale) const;
    void paintButtons(QImage &image, Lit lit, double scale, bool restore) const;
};

} // namespace tolvane
