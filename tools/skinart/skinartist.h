#pragma once

#include <QImage>

namespace tolvane {

// Paints a whole skinned window once per caption-button state and cuts the frame's pieces
// out of it, so that corners, edges and middles always meet.
class SkinArtist
{
public:
    // Picture 101 to 112 at its own size.
    QImage picture(int id) const;

private:
    enum Lit { None, Minimise, Maximise, Close };
    QImage window(Lit lit) const;
    void paintShadowAndBody(QImage &image) const;
    void paintButtons(QImage &image, Lit lit) const;
};

} // namespace tolvane
