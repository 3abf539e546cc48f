#pragma once

// The order the window lists names in: the user's language's order, ignoring case.

#include <QCollator>
#include <QStringList>

QCollator nameOrder();

// Sorts the names in that order; equal names keep their order.
void sortNames(QStringList& names);
