#pragma once

#include <QImage>

namespace tolvane {

// Paints a whole skinned window and cuts the frame's pieces out of it, so that corners, edges
// and middles always meet; the caption buttons are painted on its corner in each state. The
// ordinary pictures are drawn once into the program; a denser screen's are drawn as needed.
class SkinArtist
{
public:
    // Picture 101 to 114 at its own size, drawn at `scale` device pixels to a pixel (the
    // colour strip 112 is a table and has one size).
    QImage picture(int id, double scale = 1) const;

private:
    enum Lit { None, Minimise, Maximise, Close };
    // The window without its buttons, painted once for a scale.
    const QImage &body(double scale) const;
    void paintShadowAndBody(QImage &image, double scale) const;
    // Onto a part of the window that starts `left` device pixels in.
    void paintButtons(QImage &image, int left, Lit lit, double scale, bool restore) const;

    mutable QImage m_body;
    mutable double m_bodyScale = 0;
};

} // namespace tolvane
