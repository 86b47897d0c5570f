// The results address built from the words typed into the search box.
#include "FuzzText.h"

#include "search/SearchRules.h"

#include <QStringDecoder>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

using namespace clipnab;

namespace {
const QString kSite = QStringLiteral("http://127.0.0.1:8080");

QString trimmedBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

bool hasNonCharacter(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    return std::any_of(codePoints.begin(), codePoints.end(),
                       [](uint c) { return QChar::isNonCharacter(c); });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString words = fuzz::textOf(data, size);
    const QString address = SearchRules::searchAddress(kSite, words);

    const QUrl url(address);
    FUZZ_CHECK(url.isValid());
    FUZZ_CHECK(url.toString(QUrl::RemoveQuery) == kSite + QStringLiteral("/results"));
    const QUrlQuery query(url);
    FUZZ_CHECK(query.hasQueryItem(QStringLiteral("search_query")));
    FUZZ_CHECK(query.queryItems().size() == 1);
    // The site decodes exactly the words typed, less the blanks around them. Text that UTF-8
    // cannot carry (a lone surrogate) arrives as the replacement character, like in any address;
    // Qt's decoder also replaces noncharacters such as U+FFFF, which are not typed text.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString expected = utf8(trimmedBlanks(words).toUtf8());
    if (hasNonCharacter(expected))
        return 0;
    FUZZ_CHECK(query.queryItemValue(QStringLiteral("search_query"), QUrl::FullyDecoded) ==
               expected);
    return 0;
}
