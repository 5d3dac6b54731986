// A map of the program's windows for automated desktop tests. When TARV_UI_MAP names a file,
// the program rewrites that file four times a second with one line per visible named widget
// (and per visible row of its lists, item of its open menus and tray icon), giving its place
// on the screen, so that a test driving the keyboard and mouse from outside knows where to
// click. Nothing happens without the variable.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

namespace {

QString Clean(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QString());
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return text;
}

QString TextOf(const QWidget *w)
{
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *t = qobject_cast<const QTextEdit *>(w))
        return t->toPlainText();
    if (auto *t = qobject_cast<const QPlainTextEdit *>(w))
        return t->toPlainText();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (w->isWindow())
        return w->windowTitle();
    return QString();
}

void Line(QStringList &out, const QString &kind, const QString &path, const QString &cls, QRect r,
          bool enabled, const QString &text, const QString &extra = QString())
{
    out << QStringList{kind, path, cls, QString::number(r.x()), QString::number(r.y()),
                       QString::number(r.width()), QString::number(r.height()),
                       enabled ? QStringLiteral("1") : QStringLiteral("0"), Clean(text), Clean(extra)}
               .join(QLatin1Char('\t'));
}

QString PathOf(const QWidget *w)
{
    QStringList parts;
    for (const QWidget *p = w; p; p = p->parentWidget())
        if (!p->objectName().isEmpty())
            parts.prepend(p->objectName());
    return parts.join(QLatin1Char('/'));
}

QRect GlobalRect(const QWidget *w, QRect local)
{
    return QRect(w->mapToGlobal(local.topLeft()), local.size());
}

void Describe(QStringList &out, QWidget *w)
{
    if (!w->isVisible())
        return;
    const QString path = PathOf(w);
    if (!w->objectName().isEmpty() || w->isWindow()) {
        Line(out, w->isWindow() ? QStringLiteral("window") : QStringLiteral("widget"), path,
             QString::fromLatin1(w->metaObject()->className()), GlobalRect(w, w->rect()), w->isEnabled(),
             TextOf(w), w->isWindow() ? QString::number(qulonglong(w->winId())) : QString());
    }
    if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QRect r = tree->visualItemRect(*it);
            if (!r.isValid() || !tree->viewport()->rect().intersects(r))
                continue;
            QStringList marks;
            if ((*it)->isSelected())
                marks << QStringLiteral("selected");
            if ((*it)->checkState(0) == Qt::Checked)
                marks << QStringLiteral("checked");
            Line(out, QStringLiteral("item"), path, QStringLiteral("node"),
                 GlobalRect(tree->viewport(), r), true, (*it)->text(0), marks.join(QLatin1Char(' ')));
        }
    } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
        for (int row = 0; row < table->rowCount(); ++row)
            for (int col = 0; col < table->columnCount(); ++col) {
                if (table->isColumnHidden(col) || table->columnWidth(col) == 0)
                    continue;
                const QRect r = table->visualRect(table->model()->index(row, col));
                if (!r.isValid() || !table->viewport()->rect().intersects(r))
                    continue;
                QTableWidgetItem *item = table->item(row, col);
                Line(out, QStringLiteral("cell"), path, QStringLiteral("%1,%2").arg(row).arg(col),
                     GlobalRect(table->viewport(), r), true, item ? item->text() : QString());
            }
    } else if (auto *menu = qobject_cast<QMenu *>(w)) {
        for (QAction *a : menu->actions()) {
            const QRect r = menu->actionGeometry(a);
            if (a->isSeparator() || !a->isVisible() || !r.isValid())
                continue;
            Line(out, QStringLiteral("action"), path, QStringLiteral("menu"), GlobalRect(menu, r),
                 a->isEnabled(), a->text(), a->objectName());
        }
    } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
        for (int i = 0; i < tabs->count(); ++i)
            Line(out, QStringLiteral("item"), path, QStringLiteral("tab"), GlobalRect(tabs, tabs->tabRect(i)),
                 tabs->isTabEnabled(i), tabs->tabText(i), i == tabs->currentIndex() ? QStringLiteral("selected") : QString());
    } else if (auto *bar = qobject_cast<QMenuBar *>(w)) {
        for (QAction *a : bar->actions()) {
            const QRect r = bar->actionGeometry(a);
            if (!a->isVisible() || !r.isValid())
                continue;
            Line(out, QStringLiteral("action"), path, QStringLiteral("menubar"), GlobalRect(bar, r),
                 a->isEnabled(), a->text(), a->objectName());
        }
    }
    for (QObject *child : w->children())
        if (auto *cw = qobject_cast<QWidget *>(child); cw && !cw->isWindow())
            Describe(out, cw);
}

void Write(const QString &file)
{
    QStringList out;
    for (QWidget *top : QApplication::topLevelWidgets())
        Describe(out, top);
    QList<QSystemTrayIcon *> icons = qApp->findChildren<QSystemTrayIcon *>();
    for (QWidget *top : QApplication::topLevelWidgets())
        for (QSystemTrayIcon *icon : top->findChildren<QSystemTrayIcon *>())
            if (!icons.contains(icon))
                icons << icon;
    for (QSystemTrayIcon *icon : icons)
        if (icon->isVisible())
            Line(out, QStringLiteral("tray"), icon->objectName(), QStringLiteral("QSystemTrayIcon"),
                 icon->geometry(), true, icon->toolTip());
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(out.join(QLatin1Char('\n')).toUtf8());
    f.write("\n");
    f.commit();
}

void StartMap()
{
    const QString file = qEnvironmentVariable("TARV_UI_MAP");
    if (file.isEmpty() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    auto *timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [file] { Write(file); });
    timer->start(250);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(StartMap)
