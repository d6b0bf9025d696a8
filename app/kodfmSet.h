#pragma once

#include <QDialog>

// The settings dialog, made hidden at start and shown on demand.
class TfmSet : public QDialog
{
public:
    explicit TfmSet(QWidget* parent = nullptr);
};
