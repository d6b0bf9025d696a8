#pragma once

#include <QDialog>

// The author dialog, made hidden at start and shown on demand.
class TfmAutor : public QDialog
{
public:
    explicit TfmAutor(QWidget* parent = nullptr);
};
