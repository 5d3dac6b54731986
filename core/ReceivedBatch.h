#pragma once
// What one download of the reference tables brought from the service, as plain values: the
// person's projects with their tasks and each task's activity categories, and the expense
// categories. The reader of the replies (core/ReferenceReader.h) fills it; the store writes it
// in one go (modDBchr::SaveReferenceDownload). Ids are the service's whole numbers, held as
// Doubles like the tables' id columns.
#include <QList>
#include <QString>

struct ReceivedCategory {
    double id = 0;
    QString name;
};

struct ReceivedTask {
    double id = 0;
    QString name;
    QString expFlag;   // "FALSE" disables expenses on the task, any other text allows them
    QList<ReceivedCategory> categories;
};

struct ReceivedProject {
    double id = 0;
    QString name;
    QString expFlag;   // as for a task
    QList<ReceivedTask> tasks;
};

struct ReceivedExpCategory {
    double id = 0;
    QString name;
};

struct ReceivedBatch {
    QList<ReceivedProject> projects;
    QList<ReceivedExpCategory> expCategories;
};
