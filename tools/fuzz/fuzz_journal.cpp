// A damaged, torn or hand-edited history journal: every card's versions, the walk over the
// whole journal and the index built from it read whatever bytes they are given, and a save
// into it is read back as its card's newest version.
#include "FuzzMain.h"

#include "records/SchedaOpera.h"
#include "storage/IoError.h"
#include "storage/Journal.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString archive = fuzz::folder().filePath(QStringLiteral("Inventario_Opere.pro"));
    fuzz::asFile(QStringLiteral("Inventario_Opere.cronologia"), data, size);
    QFile::remove(fuzz::folder().filePath(QStringLiteral("Inventario_Opere.cronologia.indice")));
    const journal::Journal journal(archive, TSchedaOpera::kSize);
    qint64 last = 0;
    journal.scan([&](const journal::Entry& e) {
        // Entries come in file order, whole, and of the archive's record size.
        if (e.offset <= last || e.record.size() != TSchedaOpera::kSize || e.position < 1)
            __builtin_trap();
        last = e.offset;
        return true;
    });
    for (qint64 position : {1, 2, 3}) {
        for (const journal::Entry& e : journal.versions(position))
            if (e.position != position || e.record.size() != TSchedaOpera::kSize)
                __builtin_trap();
    }
    (void)journal::Journal::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), 64,
                                  TSchedaOpera::kSize);
    TSchedaOpera saved;
    saved[TSchedaOpera::Titolo] = QStringLiteral("salvata");
    const QByteArray record = saved.encode();
    try {
        journal::Journal(archive, TSchedaOpera::kSize)
            .append({{2, journal::What::Modificata, record, {}}}, QDateTime::currentDateTimeUtc());
    } catch (const IoError&) {
        return 0; // a journal of another archive or format is not written
    }
    const std::vector<journal::Entry> after = journal.versions(2);
    if (after.empty() || after.front().record != record)
        __builtin_trap();
    return 0;
}
