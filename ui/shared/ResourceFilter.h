#pragma once

#include <QString>

#include <string>

// File dialog filters of the string resources ("description|patterns|...",
// patterns separated by ';') in the form of Qt's file dialogs
// ("description (*.a *.b);;..."). Filter indexes stay 1-based on our side.
QString QtFilterFromResource(const std::string& resourceFilter);
// The 1-based index of a Qt filter text within the converted list; 0 when absent.
int ResourceFilterIndex(const QString& qtFilter, const QString& selected);
// The Qt filter text at a 1-based index; empty when out of range.
QString QtFilterAt(const QString& qtFilter, int index);
