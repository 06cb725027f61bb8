#pragma once

#include "platform/messageboxes.h"

#include <QList>
#include <QString>

namespace tolvane::test {

// Records every message box instead of showing it; askYesNo answers with `answer`.
class FakeMessageBoxes : public MessageBoxes
{
public:
    enum class Kind { Notice, Failure, Fatal, Question };
    struct Shown
    {
        Kind kind;
        QString title; // only questions have their own title
        QString text;
    };

    void notice(const QString &text) override { m_shown.append({Kind::Notice, {}, text}); }
    void failure(const QString &text) override { m_shown.append({Kind::Failure, {}, text}); }
    void fatal(const QString &text) override { m_shown.append({Kind::Fatal, {}, text}); }
    bool askYesNo(const QString &title, const QString &text) override
    {
        m_shown.append({Kind::Question, title, text});
        return answer;
    }

    const QList<Shown> &shown() const { return m_shown; }

    bool answer = true;

private:
    QList<Shown> m_shown;
};

} // namespace tolvane::test
