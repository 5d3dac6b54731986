#include "core/ReferenceReader.h"

#include "core/clsTagParser.h"

#include <cmath>

namespace reference {

namespace {

// A service id: a finite number written in decimal.
bool ReadId(const QString &text, double *id)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    *id = value;
    return true;
}

// The walk shared by both replies: classifies the whole reply, drops its head and walks the
// rest, handing each event at levels 1 to 4 to the reply's own reader. onItem is told of each
// level-1 element that holds elements; onLeaf of each leaf below level 1 (level, name, value);
// onInterior of each element that holds elements below level 1. Any of them may return false
// to mark the reply unreadable.
template <typename Item, typename Leaf, typename Interior>
ReplyRead Walk(const QString &reply, int *items, Item onItem, Leaf onLeaf, Interior onInterior)
{
    ReplyRead read;
    clsTagParser parser;
    read.code = parser.CheckInput(reply);
    if (read.code != ReplyOk) {
        read.outcome = ReplyRead::Rejected;
        return read;
    }
    if (reply.size() < ReplyHeadLength) {
        read.outcome = ReplyRead::Unreadable;
        return read;
    }
    int topElements = 0;
    bool readable = true;
    QObject::connect(&parser, &clsTagParser::InteriorTag, [&](const QString &name, const QString &, int16_t level) {
        if (level == 0)
            ++topElements;
        else if (level == 1)
            readable = onItem(name) && readable;
        else if (level <= 3)
            readable = onInterior(level, name) && readable;
    });
    QObject::connect(&parser, &clsTagParser::LeafTag, [&](const QString &name, const QString &value, int16_t level) {
        if (level == 0) {
            ++topElements;
        } else if (level == 1) {
            if (name == u"CODE")
                read.reports << ReplyRead::Report{value, *items};
        } else if (level <= 4) {
            readable = onLeaf(level, name, value) && readable;
        }
    });
    QString text = reply.mid(ReplyHeadLength);
    const clsTagParser::ParseResult walked = parser.ParseTags(text);
    // The whole reply passed, so the walk can only refuse a reply that is nothing but its head.
    if (walked != clsTagParser::Complete || topElements == 0 || !readable)
        read.outcome = ReplyRead::Unreadable;
    else if (!read.reports.isEmpty())
        read.outcome = ReplyRead::ErrorReported;
    else
        read.outcome = ReplyRead::Read;
    return read;
}

} // namespace

ReplyRead ReadProjects(const QString &reply, QList<ReceivedProject> &projects)
{
    projects.clear();
    int items = 0;
    // Whether the item being read has had its id; an item without one cannot be stored.
    bool projectId = true, taskId = true, categId = true;
    auto done = [&] { return projectId && taskId && categId; };
    ReceivedProject *project = nullptr;
    ReceivedTask *task = nullptr;
    ReceivedCategory *categ = nullptr;

    auto onItem = [&](const QString &) {
        const bool ok = done();
        projects.append(ReceivedProject());
        project = &projects.last();
        task = nullptr;
        categ = nullptr;
        projectId = false;
        items = int(projects.size());
        return ok;
    };
    auto onInterior = [&](int16_t level, const QString &) {
        const bool ok = done();
        if (level == 2 && project) {
            project->tasks.append(ReceivedTask());
            task = &project->tasks.last();
            categ = nullptr;
            taskId = false;
        } else if (level == 3 && task) {
            task->categories.append(ReceivedCategory());
            categ = &task->categories.last();
            categId = false;
        }
        return ok;
    };
    auto onLeaf = [&](int16_t level, const QString &name, const QString &value) {
        if (level == 2 && project) {
            if (name == u"ID")
                return projectId = ReadId(value, &project->id);
            if (name == u"NAME")
                project->name = value;
            else
                project->expFlag = value;
        } else if (level == 3 && task) {
            if (name == u"NAME")
                task->name = value;
            else if (name == u"EXPENSES")
                task->expFlag = value;
            else
                return taskId = ReadId(value, &task->id);
        } else if (level == 4 && categ) {
            if (name == u"NAME")
                categ->name = value;
            else
                return categId = ReadId(value, &categ->id);
        }
        return true;
    };
    ReplyRead read = Walk(reply, &items, onItem, onLeaf, onInterior);
    if (read.outcome == ReplyRead::Read && !done())
        read.outcome = ReplyRead::Unreadable;
    return read;
}

ReplyRead ReadExpenses(const QString &reply, QList<ReceivedExpCategory> &categories)
{
    categories.clear();
    int items = 0;
    bool hasId = true;
    ReceivedExpCategory *categ = nullptr;
    auto onItem = [&](const QString &) {
        const bool ok = hasId;
        categories.append(ReceivedExpCategory());
        categ = &categories.last();
        hasId = false;
        items = int(categories.size());
        return ok;
    };
    auto onInterior = [](int16_t, const QString &) { return true; };
    auto onLeaf = [&](int16_t level, const QString &name, const QString &value) {
        if (level == 2 && categ) {
            if (name == u"ID")
                return hasId = ReadId(value, &categ->id);
            if (name == u"NAME")
                categ->name = value;
        }
        return true;
    };
    ReplyRead read = Walk(reply, &items, onItem, onLeaf, onInterior);
    if (read.outcome == ReplyRead::Read && !hasId)
        read.outcome = ReplyRead::Unreadable;
    return read;
}

int16_t ReportCode(const QString &value)
{
    bool ok = false;
    const int code = value.trimmed().toInt(&ok);
    return ok && code >= -32768 && code <= 32767 ? int16_t(code) : int16_t(UnreadableCode);
}

} // namespace reference
