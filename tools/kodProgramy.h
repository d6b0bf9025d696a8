#pragma once

#include <QDialog>

// The editor of the list of installed programs, made hidden at start and shown on demand.
class TfmProgramy : public QDialog
{
public:
    explicit TfmProgramy(QWidget* parent = nullptr);
};
