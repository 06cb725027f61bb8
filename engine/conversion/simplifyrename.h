#pragma once

#include "engine/batch/batchjob.h"
#include "engine/batch/treejob.h"
#include "engine/conversion/conversionprofile.h"
#include "engine/conversion/conversionstate.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

namespace tolvane {

class MessageBoxes;
class ResultList;

// The two renames of the traditional-to-simplified tab. Each asks first (title "转换"), plans
// the whole batch, converts the files whose new names are usable, lists only names the files
// really have afterwards, and reports every file left alone together, once, at the end.

// Why no name can be converted (the profile's dictionaries did not load); empty when they can.
QString conversionRefusal(ConversionProfile profile = ConversionProfile::T2s);
// The simplified form of a whole file name; the bytes of a name that are not valid UTF-8 stay,
// and so does a Japanese or Korean name.
QByteArray simplifiedFileName(const QByteArray &name,
                              ConversionProfile profile = ConversionProfile::T2s);
// The simplified form of a typed name, as simplifiedFileName converts a file's.
QString simplifiedText(const QString &text, ConversionProfile profile);

// The names Command5's conversion gives.
BatchJob::Namer folderConversionNamer(ConversionProfile profile);
// Why the conversion leaves the name as it is although it would change it ("日文名，未转换",
// "韩文名，未转换"); empty when it does not.
QString leftAloneWhy(const QByteArray &name, ConversionProfile profile);

// A file whose name the conversion would change but leaves alone, for its language.
struct LeftAlone
{
    qsizetype index; // in the batch
    QByteArray name;
    QString reason; // "日文名，未转换" or "韩文名，未转换"
};
// Such files of a conversion batch: they count neither as converted nor as failed.
QList<LeftAlone> leftAloneFiles(const BatchJob &job, ConversionProfile profile);

// Command4's Click: the selected file (empty when none is selected) gets the simplified form
// of text4's text as it is now plus its own extension (the bytes from its first "."). A new
// name with nothing before its extension is refused. None when there is nothing to run.
std::unique_ptr<BatchJob> startConvertSelected(const QByteArray &folderPath,
                                               const QByteArray &selected, const QString &text4Text,
                                               MessageBoxes &messages, ConversionState &state);
// Command5's Click: every listed file gets the simplified form of its whole name. *confirmed
// tells whether the question was answered Yes: the form then hides Command5.
std::unique_ptr<BatchJob> startConvertFolder(const QByteArray &folderPath,
                                             const QList<QByteArray> &fileNames,
                                             MessageBoxes &messages, ConversionState &state,
                                             bool *confirmed);
// Lists the names the files have now, each file left alone for its language with the reason.
void finishConversion(const BatchJob &job, ConversionProfile profile, ResultList &results,
                      MessageBoxes &messages);

// A folder's whole tree, every file and subfolder under it, as one conversion batch; the folder
// keeps its own name. Prepared, it counts the names that change.
std::shared_ptr<TreeJob> makeTreeConversion(const QByteArray &folderPath,
                                            ConversionProfile profile);
// After prepare(): asks whether to convert the names that change (title "转换"); a tree that
// cannot run, or has nothing to change, is reported instead. True to execute it.
bool confirmTreeConversion(const TreeJob &tree, MessageBoxes &messages);
// Lists the tree's names as they are now, as paths below its folder, as finishConversion does.
void finishTreeConversion(const TreeJob &tree, ConversionProfile profile, ResultList &results,
                          MessageBoxes &messages);

// The same on this thread, start to finish.
void convertSelected(const QByteArray &folderPath, const QByteArray &selected,
                     const QString &text4Text, ResultList &results, MessageBoxes &messages,
                     ConversionState &state);
bool convertFolder(const QByteArray &folderPath, const QList<QByteArray> &fileNames,
                   ResultList &results, MessageBoxes &messages, ConversionState &state);

} // namespace tolvane
