#pragma once
#include "storage/RecordStore.h"
#include "widgets/CardFields.h"
#include "widgets/Ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class CardChrome;
class PictureButton;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusHints;

// What both card screens are: one record at a time, the controls its working copy and
// lblPosizione its position in the archive (empty: not stored yet). The base owns the
// toolbar's shared buttons, browsing, new, duplicate and the save's steps (finish editing,
// mandatory check, store, photos, message); a card fills in where the two differ.
class CardScreen : public QWidget {
    Q_OBJECT
public:
    // What a card shows of itself: its name, caption, help topic and the texts that differ.
    struct Look {
        const char* objectName;
        const char* title;
        const char* helpTopic; // also the mode the card's attachments screen is opened in
        Ui::Kind archiveFailure; // the kind of box the archive message shows in
        // The toolbar hints that differ between the cards.
        const char* nuovoHint;
        const char* duplicaHint;
        const char* guidaHint;
        const char* esciHint;
    };

    QLabel* lblPosizione;
    QLabel* panInfo;
    QPushButton* btnFocus;
    std::array<QLabel*, 3> lblFile; // the attachment slots, hidden
    std::array<QLabel*, 3> lblDesc;
    PictureButton *cmdNuovo, *cmdDuplica, *cmdSalva, *cmdTrova, *cmdFile, *cmdStampa, *cmdDocumentazione,
        *cmdCronologia, *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo, *cmdGuida, *cmdEsci;

    void cmdNuovoClick()
    {
        if (mayLeave())
            newCard();
    }
    // Each card opens its own search, print and attachments screens.
    virtual void cmdTrovaClick() = 0;
    virtual void cmdStampaClick() = 0;
    virtual void cmdFileClick() = 0;
    // The history of the card on screen.
    virtual void cmdCronologiaClick() = 0;
    // The photographic documentation of the card on screen.
    virtual void cmdDocumentazioneClick() = 0;
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdPrimoClick() { browse(Browse::First); }
    void cmdIndietroClick() { browse(Browse::Previous); }
    void cmdAvantiClick() { browse(Browse::Next); }
    void cmdUltimoClick() { browse(Browse::Last); }

    // The archive the card saves to.
    virtual RecordStore archive() const = 0;
    // Whether the card holds edits not saved: its fields or photos differ from those it last
    // showed, saved or took from its history, or its documentation holds changes.
    bool unsavedEdits() const;
    // What the card keeps beside its record (its photos, its documentation), saved with it as
    // one transaction; the next save stores a new card when newCard.
    virtual QList<SidePart*> sideParts(bool newCard) const = 0;
    // Whether what the card keeps beside its record holds changes that leaving it would lose
    // (photos added to its documentation, say); asks first, and false when the user keeps them.
    bool mayLeave();

signals:
    // The card was closed: the shell shows the launcher again.
    void closed();
    // A help button of the card or of a screen it opened: the shell shows the help window
    // for topic over the window over.
    void helpRequested(QWidget* over, const QString& topic);

protected:
    CardScreen(Ui& ui, const Look& look, QWidget* parent);
    ~CardScreen() override;

    // The toolbar: Nuovo, Duplica, Salva, Trova, Allega file, what the card adds before
    // Stampa, Stampa, the browse group, what the card adds after it, Guida and Esci.
    void buildToolbar(const std::function<void(CardChrome&)>& beforePrint,
                      const std::function<void(CardChrome&)>& afterBrowse);
    StatusHints& hints();
    // Lays out toolbar, body and status band, makes the field table and wires the shared
    // buttons.
    void assemble(QWidget* body);
    // The mode of the card's screens ("opere" or "interventi").
    QString mode() const { return QString::fromLatin1(look_.helpTopic); }

    // Where the cards differ.
    virtual void buildTable() = 0;
    virtual void newCard() = 0;
    virtual QByteArray cardBytes() const = 0;
    // Whether the stored record now differs from the one the card showed (another
    // workstation saved the card meanwhile); false when the card showed none.
    virtual bool changedSinceShown(const QByteArray& stored) const = 0;
    // The first mandatory field left empty and its warning, or nullptr.
    virtual std::pair<QWidget*, QString> missingField() const = 0;
    virtual void showStored(const QByteArray& record, qint64 position) = 0;
    virtual void clearSlots() = 0;
    virtual QLineEdit* amountField() const = 0;
    virtual QWidget* firstField() const = 0;
    // Duplicate: what the card changes before the shared steps (none by default).
    virtual void prepareDuplicate() { }
    virtual void clearPhotos() = 0;
    // The photos stored for the position the card shows.
    virtual void loadPhotos() = 0;
    // After a save: what the card shows of what it stored (a new card's documentation).
    virtual void saved(bool newCard) = 0;
    virtual void rememberSaved() = 0;
    virtual void forgetShown() = 0;
    // The card is shown from the launcher, or closed.
    virtual void opened() = 0;
    virtual void closing() { }

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    // Notes the fields and photos the card holds now as the ones it showed, saved or took
    // from its history, against which unsavedEdits() compares.
    void noteShown();

    Ui& ui_;
    // The card holds a version loaded from its history, not saved yet.
    bool restored_ = false;
    // Asks the shell for the help window over a screen the card opened.
    std::function<void(QWidget*)> helpFor(const QString& topic)
    {
        return [this, topic](QWidget* over) { emit helpRequested(over, topic); };
    }

private:
    void browse(Browse where);
    bool savedElsewhere(const RecordStore& store, const QString& position) const;

    QList<qint64> photoKeys() const;

    Look look_;
    CardChrome* chrome_;
    QByteArray shownBytes_;
    QList<qint64> shownPhotos_;
};

// A card over records of type R, mapped to its controls by its field table.
template <class R> class Card : public CardScreen {
public:
    // Which record field each control holds, in record order.
    const FieldTable<R>& fieldTable() const { return fields_; }
    RecordStore archive() const override { return TypedStore<R>(); }

protected:
    using CardScreen::CardScreen;

    virtual void showRecord(const R& record, qint64 position) = 0;
    // Shows a record a list screen hands back on this card (once the card may be left).
    std::function<void(const R&, qint64)> shower()
    {
        return [this](const R& record, qint64 position) {
            if (mayLeave())
                showRecord(record, position);
        };
    }
    R cardRecord() const { return cardfields::record<R>(fields_); }
    // A stored card: its fields, its position and its photos.
    void showCard(const R& record, qint64 position)
    {
        cardfields::show(fields_, record);
        lblPosizione->setText(QString::number(position));
        shown_ = record;
        restored_ = false;
        loadPhotos();
        noteShown();
    }
    // A version from the card's history: its fields on the card, its photos (the file each
    // frame's picture stands in) in the frames; the save that follows restores it.
    void restoreVersion(const QByteArray& record, const QStringList& photos)
    {
        cardfields::show(fields_, R::decode(record.constData()));
        restorePhotos(photos);
        restored_ = true;
        noteShown();
    }
    virtual void restorePhotos(const QStringList& photos) = 0;
    bool changedSinceShown(const QByteArray& stored) const override
    {
        return shown_ && R::decode(stored.constData()).text != shown_->text;
    }

    void buildTable() override { buildFieldTable(); }
    QByteArray cardBytes() const override { return cardRecord().encode(); }
    std::pair<QWidget*, QString> missingField() const override
    {
        const CardField<R>* missing = cardfields::firstMissing(fields_);
        return missing ? std::pair{missing->control, missing->mandatory} : std::pair<QWidget*, QString>{};
    }
    void showStored(const QByteArray& record, qint64 position) override
    {
        showRecord(R::decode(record.constData()), position);
    }
    void clearSlots() override { cardfields::clearSlots(fields_); }
    // A blank card: every field empty (but those kept), the amount 0,00, no photo, no
    // position, the focus on the first field.
    void clearCard(std::initializer_list<const QWidget*> keep = {})
    {
        cardfields::clearAll(fields_, keep);
        shown_.reset();
        restored_ = false;
        amountField()->setText(QStringLiteral("0,00"));
        clearPhotos();
        lblPosizione->clear();
        firstField()->setFocus();
        noteShown();
    }

    // The field table, in record order, from the record's description of each field: the
    // control (found by its name) that holds it and the warning when it is left empty.
    void buildFieldTable()
    {
        fields_.clear();
        for (int i = 0; i < R::kFields; ++i) {
            const auto f = typename R::Field(i);
            fields_.push_back({f, findChild<QWidget*>(R::control(f)), R::required(f)});
        }
    }

    // What the card showed of the stored record, to see whether another workstation saved
    // it meanwhile; the card's own save is what it shows next.
    void rememberSaved() override { shown_ = R::decode(cardBytes().constData()); }
    void forgetShown() override { shown_.reset(); }

    FieldTable<R> fields_;
    std::optional<R> shown_;
};
