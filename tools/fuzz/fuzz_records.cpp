// Damaged or hand-edited archive records: both decoders, the list lines built from stored
// bytes, the search rule and the export's trimming read every byte they are given.
#include "FuzzMain.h"

#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "search/Criteria.h"
#include "search/ListLines.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    if (size >= size_t(TSchedaOpera::kSize)) {
        const TSchedaOpera w = TSchedaOpera::decode(bytes);
        const QByteArray again = w.encode();
        if (again.size() != TSchedaOpera::kSize || listlines::artworkLine(bytes) != listlines::artworkLine(w))
            __builtin_trap();
        Criteria c;
        c.add(TSchedaOpera::Proprietario, QStringLiteral("ROSSI"));
        c.add(TSchedaOpera::Note, QString::fromLatin1(bytes + TSchedaOpera::kSize - 8, 8));
        (void)c.matches<TSchedaOpera>(bytes);
    }
    if (size >= size_t(TSchedaIntervento::kSize)) {
        const TSchedaIntervento r = TSchedaIntervento::decode(bytes);
        if (r.encode().size() != TSchedaIntervento::kSize)
            __builtin_trap();
        (void)listlines::reportLine(bytes);
        Criteria c;
        c.add(TSchedaIntervento::DataEmissione, QStringLiteral("/03/"));
        (void)c.matches<TSchedaIntervento>(bytes);
    }
    return 0;
}
