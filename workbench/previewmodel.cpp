#include "workbench/previewmodel.h"

#include "engine/batch/batchreport.h"
#include "engine/conversion/simplifyrename.h"
#include "engine/naming/serialrename.h"
#include "platform/systemerror.h"

#include <QColor>
#include <climits>

namespace tolvane {

PreviewModel::PreviewModel(QObject *parent)
    : QAbstractListModel(parent), m_generation(std::make_shared<std::atomic<quint64>>(0))
{
    // One check at a time: a newer one waits, and drops out unless it is still the newest.
    m_pool.setMaxThreadCount(1);
}

PreviewModel::~PreviewModel()
{
    ++*m_generation;
    m_pool.clear();
    m_pool.waitForDone();
}

void PreviewModel::showSerial(const QByteArray &folder, const FolderListing &listing,
                              const QByteArray &pattern, const QString &startText)
{
    if (!refusedForEachName(serialRenameRefusal(pattern, startText)))
        return clear();
    show(folder, listing, serialNamer(pattern, startText), std::nullopt);
}

void PreviewModel::showConversion(const QByteArray &folder, const FolderListing &listing,
                                  ConversionProfile profile)
{
    if (!conversionRefusal(profile).isEmpty())
        return clear();
    show(folder, listing, folderConversionNamer(profile), profile);
}

void PreviewModel::clear()
{
    ++*m_generation;
    beginResetModel();
    m_listing = {};
    m_namer = nullptr;
    retire();
    endResetModel();
}

void PreviewModel::show(const QByteArray &folder, const FolderListing &listing,
                        BatchJob::Namer namer, std::optional<ConversionProfile> conversion)
{
    const quint64 generation = ++*m_generation;
    // The same rows with new texts: the view keeps its place and repaints what it shows.
    const bool sameRows = m_namer && listing.count() == m_listing.count();
    if (!sameRows)
        beginResetModel();
    m_listing = listing;
    m_namer = namer;
    m_conversion = conversion;
    retire();
    if (sameRows)
        allChanged();
    else
        endResetModel();

    const auto latest = m_generation;
    m_pool.start([this, generation, latest, folder, listing, namer] {
        const auto stale = [latest, generation] { return *latest != generation; };
        if (stale())
            return;
        // Once stale, the rest keep their names: nothing more to check for them.
        auto job = std::make_shared<BatchJob>(
            folder, listing.rawNames(),
            [namer, stale](qsizetype i, const QByteArray &name) {
                return stale() ? name : namer(i, name);
            },
            BatchJob::Options{.journal = false});
        job->prepare();
        if (!stale())
            QMetaObject::invokeMethod(
                this, [this, generation, job] { receive(generation, job); }, Qt::QueuedConnection);
    });
}

void PreviewModel::retire()
{
    // A plan of a big folder takes a while to free, too.
    if (m_job)
        m_pool.start([old = std::move(m_job)] {});
}

void PreviewModel::receive(quint64 generation, std::shared_ptr<BatchJob> job)
{
    if (generation != *m_generation)
        return;
    m_job = std::move(job);
    allChanged();
    Q_EMIT checked();
}

void PreviewModel::allChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

QString PreviewModel::note(const QByteArray &from, const QByteArray &to) const
{
    return m_conversion && from == to ? leftAloneWhy(from, *m_conversion) : QString();
}

PreviewModel::Row PreviewModel::row(int index) const
{
    Row row;
    QByteArray from, to;
    if (m_job) {
        const BatchPlan &plan = m_job->plan();
        const PlannedRename &r = plan.renames[index];
        from = r.from;
        to = r.to;
        if (plan.folderError != 0)
            row.reason = systemErrorText(plan.folderError);
        else if (r.problem != PlanProblem::None)
            row.reason = BatchReport::reason(r.problem);
        row.status = !row.reason.isEmpty() ? Status::Refused
                     : r.unchanged()       ? Status::Unchanged
                                           : Status::Renamed;
    } else {
        // Until the folder is checked, only what is wrong with a name itself is known.
        from = m_listing.raw(index);
        to = m_namer(index, from);
        const PlanProblem problem = nameProblem(to, LONG_MAX);
        row.status = from == to                     ? Status::Unchanged
                     : problem != PlanProblem::None ? Status::Refused
                                                    : Status::Checking;
        if (row.status == Status::Refused)
            row.reason = BatchReport::reason(problem);
    }
    if (row.status == Status::Unchanged)
        row.reason = note(from, to);
    row.from = BatchReport::shownName(from);
    row.to = BatchReport::shownName(to);
    return row;
}

int PreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_namer ? 0 : int(m_listing.count());
}

QVariant PreviewModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::ForegroundRole &&
         role != Qt::AccessibleTextRole))
        return {};
    const Row r = row(index.row());
    if (role == Qt::ForegroundRole)
        return r.status == Status::Refused ? QColor(Qt::red) : QColor(Qt::gray);
    const QString extra = r.reason.isEmpty() ? QString() : QStringLiteral("：") + r.reason;
    // A tooltip shows a row the list cuts short whole.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return r.status == Status::Unchanged ? QStringLiteral("%1（不变%2）").arg(r.from, extra)
                                             : QStringLiteral("%1 → %2%3").arg(r.from, r.to, extra);
    static const QString words[] = {QStringLiteral("正在检查"), QStringLiteral("将改名"),
                                    QStringLiteral("名称不变"), QStringLiteral("不能改名")};
    return QStringLiteral("原名 %1，新名 %2，%3%4").arg(r.from, r.to, words[int(r.status)], extra);
}

} // namespace tolvane
