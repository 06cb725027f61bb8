#pragma once

#include "engine/batch/batchjob.h"
#include "engine/conversion/conversionprofile.h"
#include "engine/listing/folderlisting.h"

#include <QAbstractListModel>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>

namespace tolvane {

// Every listed file's new name before a batch runs, in numbering order, with what the batch
// would do to it. Names come from the batch's own namer as the view asks for rows; the whole
// batch is checked against the folder off this thread, and a newer request drops an older
// check. Rows are display text only.
class PreviewModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum class Status { Checking, Renamed, Unchanged, Refused };
    struct Row
    {
        QString from;
        QString to;
        Status status = Status::Checking;
        QString reason; // why it is refused, or why a conversion leaves it alone
    };

    explicit PreviewModel(QObject *parent = nullptr);
    ~PreviewModel() override;

    // A serial rename of the listed files of the folder; no rows while its inputs make no
    // names (left half filled in).
    void showSerial(const QByteArray &folder, const FolderListing &listing,
                    const QByteArray &pattern, const QString &startText);
    // Command5's conversion; no rows while the profile's dictionaries cannot be loaded.
    void showConversion(const QByteArray &folder, const FolderListing &listing,
                        ConversionProfile profile);
    void clear();
    // True until every row's status is known.
    bool checking() const { return m_namer && !m_job; }

    Row row(int index) const;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void checked();

private:
    void show(const QByteArray &folder, const FolderListing &listing, BatchJob::Namer namer,
              std::optional<ConversionProfile> conversion);
    void receive(quint64 generation, std::shared_ptr<BatchJob> job);
    void retire();
    void allChanged();
    QString note(const QByteArray &from, const QByteArray &to) const;

    FolderListing m_listing;
    BatchJob::Namer m_namer;
    std::optional<ConversionProfile> m_conversion;
    std::shared_ptr<BatchJob> m_job; // the finished check of the rows shown
    std::shared_ptr<std::atomic<quint64>> m_generation;
    QThreadPool m_pool;
};

} // namespace tolvane
