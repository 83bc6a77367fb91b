#include "printing/PrintFonts.h"

#include <QFontDatabase>
#include <QHash>

// The fonts' resources live in the core library: their registration must be called by name.
static void loadFontResources()
{
    Q_INIT_RESOURCE(fonts);
}

namespace printfonts {
namespace {
// The families the program's font files hold, or an empty set when none could be loaded.
bool loaded()
{
    static const bool ok = [] {
        loadFontResources();
        bool any = false;
        for (const char* file :
             {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSans-Italic.ttf",
              "LiberationSans-BoldItalic.ttf", "LiberationMono-Regular.ttf", "LiberationMono-Bold.ttf",
              "LiberationMono-Italic.ttf", "LiberationMono-BoldItalic.ttf", "DejaVuSans.ttf", "DejaVuSans-Bold.ttf",
              "DejaVuSans-Oblique.ttf", "DejaVuSans-BoldOblique.ttf"})
            any |= QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/") + QLatin1String(file)) >= 0;
        return any;
    }();
    return ok;
}
} // namespace

QString family(const QString& named)
{
    static const QHash<QString, QString> kPrinted = {
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("verdana"), QStringLiteral("DejaVu Sans")},
        {QStringLiteral("tahoma"), QStringLiteral("DejaVu Sans")},
    };
    const QString printed = kPrinted.value(named.toLower());
    return !printed.isEmpty() && loaded() ? printed : named;
}

} // namespace printfonts
