#pragma once

#include <QDialog>

// The dialog of curiosities about the program, made hidden at start and shown on demand.
class TfmKnow : public QDialog
{
public:
    explicit TfmKnow(QWidget* parent = nullptr);
};
