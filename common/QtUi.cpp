#include "common/QtUi.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {
QString titleFor(Ui::Kind kind)
{
    switch (kind) {
    case Ui::Kind::Warning: return QStringLiteral("Attenzione");
    case Ui::Kind::Error: return QStringLiteral("Errore");
    case Ui::Kind::Information: return QStringLiteral("Informazione");
    case Ui::Kind::Plain: break;
    }
    return QStringLiteral("Brevanto");
}

QMessageBox::Icon iconFor(Ui::Kind kind)
{
    switch (kind) {
    case Ui::Kind::Warning: return QMessageBox::Warning;
    case Ui::Kind::Error: return QMessageBox::Critical;
    case Ui::Kind::Information: return QMessageBox::Information;
    case Ui::Kind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

// The dialogs write patterns as "*.jpg; *.jpeg"; the Qt dialog separates them by spaces.
QString filterString(const QStringList& filters)
{
    return filters.join(QStringLiteral(";;")).replace(QStringLiteral("; *"), QStringLiteral(" *"));
}
} // namespace

Ui::Answer QtUi::message(QWidget* parent, Kind kind, const QString& text)
{
    QMessageBox box(iconFor(kind), titleFor(kind), text, QMessageBox::NoButton, parent);
    box.addButton(QMessageBox::Ok);
    if (kind != Kind::Plain)
        box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok) ? Answer::Ok : Answer::Cancel;
}

Ui::Answer QtUi::question(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Conferma"), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("S\u00EC"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(yes) ? Answer::Yes : Answer::No;
}

QString QtUi::openFile(QWidget* parent, const FileDialog& d)
{
    return QFileDialog::getOpenFileName(parent, d.title, d.initialName, filterString(d.filters));
}

QString QtUi::saveFile(QWidget* parent, const FileDialog& d)
{
    QFileDialog dlg(parent, d.title, QDir::homePath(), filterString(d.filters));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(d.defaultSuffix);
    dlg.selectFile(d.initialName);
    if (!d.confirmOverwrite)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

int QtUi::exec(QDialog* dialog)
{
    return dialog->exec();
}

void QtUi::openUrl(const QString& command)
{
    QString target = command;
    if (target.size() >= 2 && target.startsWith(u'"') && target.endsWith(u'"'))
        target = target.mid(1, target.size() - 2);
    const QUrl url = QFileInfo(target).isAbsolute() ? QUrl::fromLocalFile(target) : QUrl(target);
    QDesktopServices::openUrl(url); // the result is not checked, as on every caller
}
