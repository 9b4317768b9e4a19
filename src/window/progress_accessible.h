#pragma once

#include <QAccessibleInterface>
#include <QObject>
#include <QString>

namespace brevant {

// What screen readers learn of the progress display, which Qt knows only as a
// plain widget: a progress bar whose value is the share done (0 to 100) and
// whose description is its caption ("Processing: a.vcf").
QAccessibleInterface* ProgressAccessibleFactory(const QString& className, QObject* object);

}  // namespace brevant
