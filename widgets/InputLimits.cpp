#include "widgets/InputLimits.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace {
// Keeps a line edit's user input within its limit however it arrives.
class InputLimiter : public QObject {
public:
    InputLimiter(QLineEdit* e, int limit) : QObject(e), edit_(e), limit_(limit) { e->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (k->matches(QKeySequence::Paste)) {
                insert(QGuiApplication::clipboard()->text());
                return true;
            }
            // Shortcuts (Ctrl+A, Ctrl+Z, Ctrl+C, Ctrl+X ...) and keys without text always work.
            if (k->text().isEmpty() || !k->text().at(0).isPrint()
                || (k->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
                return false;
            return room() < k->text().size();
        }
        case QEvent::ContextMenu: {
            auto* c = static_cast<QContextMenuEvent*>(event);
            QMenu* menu = edit_->createStandardContextMenu();
            // The paste entry, whatever the language: the one shown with the paste shortcut.
            const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
            for (QAction* a : menu->actions())
                if (a->text().endsWith(u'\t' + shortcut)) {
                    a->disconnect();
                    connect(a, &QAction::triggered, this, [this] { insert(QGuiApplication::clipboard()->text()); });
                }
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(c->globalPos());
            return true;
        }
        case QEvent::Drop: {
            auto* d = static_cast<QDropEvent*>(event);
            if (!d->mimeData()->hasText())
                return false;
            edit_->setCursorPosition(edit_->cursorPositionAt(d->position().toPoint()));
            edit_->deselect();
            insert(d->mimeData()->text());
            d->acceptProposedAction();
            return true;
        }
        default: return false;
        }
    }

private:
    int room() const { return limit_ - int(edit_->text().size() - edit_->selectedText().size()); }
    // An undoable insertion of what fits.
    void insert(QString text)
    {
        text.replace(u'\n', u' ').remove(u'\r');
        // An amount field takes digits and the comma only, however they arrive.
        if (edit_->property("amount").toBool())
            text.removeIf([](QChar c) { return !((c >= u'0' && c <= u'9') || c == u','); });
        const int fits = std::max(0, room());
        if (fits > 0 && !text.isEmpty())
            edit_->insert(text.left(fits));
    }

    QLineEdit* edit_;
    int limit_;
};
} // namespace

void limitTyping(QLineEdit* e, int limit)
{
    e->setMaxLength(32767);
    new InputLimiter(e, limit);
}

LimitedMemo::LimitedMemo(int limit, QWidget* parent) : QPlainTextEdit(parent), limit_(limit)
{ }

int LimitedMemo::cost(const QString& text)
{
    return int(text.size() + text.count(u'\n') + text.count(QChar::ParagraphSeparator));
}

int LimitedMemo::room() const
{
    const QString selected = textCursor().selectedText(); // line breaks come as U+2029
    return limit_ - (cost(toPlainText()) - cost(selected));
}

void LimitedMemo::keyPressEvent(QKeyEvent* e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const bool typed = !e->text().isEmpty() && e->text().at(0).isPrint()
                       && !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (e->matches(QKeySequence::Paste) || (!enter && !typed)) {
        QPlainTextEdit::keyPressEvent(e); // pastes come back through insertFromMimeData
        return;
    }
    if (room() < (enter ? 2 : cost(e->text()))) {
        e->accept(); // refused: the text stays as it is
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void LimitedMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    text.remove(u'\r');
    int fits = room();
    qsizetype keep = 0;
    for (; keep < text.size(); ++keep) {
        fits -= text.at(keep) == u'\n' ? 2 : 1;
        if (fits < 0)
            break;
    }
    if (keep > 0)
        textCursor().insertText(text.left(keep));
}
