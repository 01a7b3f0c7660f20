#include "sort_option.h"

#include "terminal.h"

#include "support/error.h"

namespace lexora::cli {

std::optional<SortCriteria> takeSortOption(QStringList &args)
{
    const QString option = QStringLiteral("--sort");
    if (!args.contains(option))
        return std::nullopt;
    const QString value = takeOption(args, option);
    if (value == QLatin1String("default"))
        return DefaultSortCriteria();
    SortCriteria criteria;
    for (const QString &pair : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(QLatin1Char(':'));
        bool criterionOk = false;
        bool modeOk = false;
        if (parts.size() == 2)
            criteria.push_back({parts[0].toInt(&criterionOk), parts[1].toInt(&modeOk)});
        if (!criterionOk || !modeOk)
            throw Error(Error::Kind::InvalidInput, QStringLiteral("--sort erwartet KRITERIUM:MODUS, nicht \"%1\".").arg(pair));
    }
    if (!IsValidSortCriteria(criteria))
        throw Error(Error::Kind::InvalidInput, QStringLiteral("--sort \"%1\": höchstens drei verschiedene Kriterien von 0 bis 3 "
                                   "mit den Modi 0 oder 1.").arg(value));
    return criteria;
}

} // namespace lexora::cli
