#pragma once
#include "printing/Report.h"

#include <QList>
#include <QString>

// The pages of a card's photographic documentation, printed after the document: the
// template's photo page (its frame, heading and page number) repeated, each with a grid of
// photos, every photo upright at the largest size its cell allows with its number, phase, date
// and caption. A caption too long for its cell is printed smaller, never cut. Photos are read
// only when a page is painted, at the size they are printed.
namespace photopages {

struct Photo {
    QString path; // empty: the photo's file is missing
    int turns = 0; // quarter turns clockwise not yet stored in the file
    int number = 0;
    QString phase;
    QString date; // as printed
    QString caption;
};

// The photos a page may hold.
inline const QList<int> kPerPage = {1, 2, 4, 6};

// Adds the pages for photos, perPage (1, 2, 4 or 6) to a page, to the template's appendix.
// A template without a photo page gets none.
void add(report::Template& t, const QList<Photo>& photos, int perPage);

// The smallest size a caption is printed at before its cell gives it more room.
constexpr qreal kSmallestCaption = 6;

} // namespace photopages
