#pragma once
#include <QImage>

// An invented restoration laboratory for the manual's pictures: artwork cards and reports
// with their photos, the logo, the heading, the numbering start and a few attached files,
// written into the current program folder through the program's own stores. Names, tax
// codes and telephone numbers are made up.
namespace samplelab {

enum class Subject { Landscape, StillLife, Portrait, Seascape, Abstract };

// A photo of a painting drawn by code; aged adds yellowed varnish, cracks and losses, as
// in a photo taken before the restoration.
QImage painting(Subject subject, bool aged = false, QSize size = {900, 680});

// Fills the program folder. Throws IoError when a store cannot be written.
void fill();

// A few numbers the screens show, for choosing what to display.
inline constexpr int kArtworks = 12;
inline constexpr int kReports = 8;

} // namespace samplelab
