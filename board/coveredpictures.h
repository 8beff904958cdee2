#pragma once

class DGPixmapItem;

// Pictures hidden whole under an opaque picture above them on their page (the pages of a PDF
// put in one over another): the board neither draws nor decodes them. Worked out once for a
// page as it stands, again when it changes or a picture of it is measured.
namespace CoveredPictures {

bool isCovered(const DGPixmapItem *picture);

} // namespace CoveredPictures
