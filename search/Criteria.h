#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// The criteria of a search: a record is listed when every criterion occurs, as typed and
// with A-Z taken as a-z, inside its field taken whole. A criterion whose trimmed text is
// empty is absent: it neither counts nor lets a record through. Fields are compared as
// the archive stores them (Windows-1252 bytes), so a search decodes nothing but the
// lines of the records it lists.
class Criteria {
public:
    // field: the record's field index; typed: the criterion as the user typed it.
    void add(int field, const QString& typed);
    bool isEmpty() const { return list_.empty(); }

    // R is the record type: R::rawField(bytes, field) gives a stored field's bytes.
    template <class R> bool matches(const char* recordBytes) const
    {
        for (const Criterion& c : list_)
            if (!c.possible || !containsFolded(R::rawField(recordBytes, typename R::Field(c.field)), c.needle))
                return false;
        return true;
    }

    // True when needle (already lower-cased A-Z) occurs in haystack with A-Z taken as a-z.
    static bool containsFolded(QByteArrayView haystack, QByteArrayView needle);

private:
    struct Criterion {
        int field;
        QByteArray needle;
        bool possible; // false: holds a character no stored text can hold
    };
    std::vector<Criterion> list_;
};
