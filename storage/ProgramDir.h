#pragma once
#include <QString>

// The directory of the executable, ending with a separator: every data file lives there.
namespace programdir {

QString path();
// path() + name
QString file(const QString& name);

// Tests point the program directory at a temporary folder for the guard's lifetime.
class Override {
public:
    explicit Override(const QString& dir);
    ~Override();
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    QString previous_;
};

} // namespace programdir
