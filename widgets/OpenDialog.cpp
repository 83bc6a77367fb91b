#include "widgets/OpenDialog.h"

#include "storage/FileNames.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

QString fileFilters(const QStringList& filters)
{
    QStringList out;
    for (const QString& caption : filters) {
        const qsizetype open = caption.lastIndexOf(u'(');
        if (open < 0 || !caption.endsWith(u')')) {
            out << caption;
            continue;
        }
        QString patterns =
            caption.mid(open + 1, caption.size() - open - 2).replace(QStringLiteral("; "), QStringLiteral(" "));
        // "*.*" means every file to the user, but only names with a dot to Qt.
        if (patterns == QStringLiteral("*.*"))
            patterns = QStringLiteral("*");
        out << caption + QStringLiteral(" (") + patterns + u')';
    }
    return out.join(QStringLiteral(";;"));
}

namespace {
QString quotedList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& n : names)
        quoted.append(QStringLiteral("\u00AB") + n + QStringLiteral("\u00BB"));
    return quoted.join(QStringLiteral(", "));
}

void addForeignNamesNote(QFileDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    auto* note = new QLabel(&dialog);
    note->setObjectName(QStringLiteral("lblNomiWindows"));
    note->setWordWrap(true);
    auto* fix = new QPushButton(QStringLiteral("Correggi i nomi"), &dialog);
    fix->setObjectName(QStringLiteral("btnCorreggiNomi"));
    const int row = grid->rowCount();
    grid->addWidget(note, row, 0, 1, grid->columnCount() - 1);
    grid->addWidget(fix, row, grid->columnCount() - 1, Qt::AlignTop);
    auto show = [note, fix](const QString& folder, const QStringList& notFixed = {}) {
        QStringList names;
        for (const filenames::ForeignName& f : filenames::foreignNames(folder))
            names.append(f.name);
        QString text;
        if (names.size() == 1)
            text = QStringLiteral("In questa cartella c'\u00E8 un file con un nome scritto da Windows che non si "
                                  "pu\u00F2 mostrare: %1. Premere \u00ABCorreggi i nomi\u00BB per poterlo scegliere.")
                       .arg(quotedList(names));
        else if (!names.isEmpty())
            text = QStringLiteral("In questa cartella ci sono file con nomi scritti da Windows che non si possono "
                                  "mostrare: %1. Premere \u00ABCorreggi i nomi\u00BB per poterli scegliere.")
                       .arg(quotedList(names));
        if (!notFixed.isEmpty())
            text = QStringLiteral("Non \u00E8 stato possibile correggere %1: un file con lo stesso nome esiste "
                                  "gi\u00E0, oppure la cartella non si pu\u00F2 modificare.")
                       .arg(quotedList(notFixed));
        note->setText(text);
        note->setVisible(!text.isEmpty());
        fix->setVisible(!names.isEmpty() && notFixed.isEmpty());
    };
    // The folder shown changes however it is reached: a double click, a path typed and
    // confirmed, the folder list above, the places on the left, back and forward.
    if (auto* model = dialog.findChild<QFileSystemModel*>())
        QObject::connect(model, &QFileSystemModel::rootPathChanged, note, [show](const QString& f) { show(f); });
    else
        QObject::connect(&dialog, &QFileDialog::directoryEntered, note, [show](const QString& f) { show(f); });
    QObject::connect(fix, &QPushButton::clicked, note, [&dialog, show] {
        const QString folder = dialog.directory().absolutePath();
        QStringList notFixed;
        QString last;
        for (const filenames::ForeignName& f : filenames::foreignNames(folder)) {
            const QString fixed = filenames::adoptForeignName(folder, f);
            if (fixed.isEmpty())
                notFixed.append(f.name);
            else
                last = fixed;
        }
        show(folder, notFixed);
        if (!last.isEmpty())
            dialog.selectFile(last);
    });
    show(dialog.directory().absolutePath());
}
} // namespace

QStringList openDialog(QWidget* parent, const Ui::FileDialog& d, OpenMode mode)
{
    QFileDialog dialog(parent, d.title, d.initialName, fileFilters(d.filters));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(mode == OpenMode::Many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    addForeignNamesNote(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
