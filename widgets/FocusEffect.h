#pragma once
#include <QColor>
#include <QWidget>

// The yellow rectangle of the dialog screens: yellow fill, outline graded from yellow to
// white, shown behind its edit only while the edit has the focus. Its colours come from
// the style sheet.
class FocusEffect : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor fill MEMBER fill_)
    Q_PROPERTY(QColor outlineTop MEMBER outlineTop_)
    Q_PROPERTY(QColor outlineBottom MEMBER outlineBottom_)
public:
    FocusEffect(const QString& name, QWidget* edit);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    QWidget* target_;
    QColor fill_;
    QColor outlineTop_;
    QColor outlineBottom_;
};
