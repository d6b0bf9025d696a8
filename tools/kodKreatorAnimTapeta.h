#pragma once

#include <QDialog>

// The animated wallpaper wizard, made hidden at start and shown on demand.
class TfmKreatorAnimTapeta : public QDialog
{
public:
    explicit TfmKreatorAnimTapeta(QWidget* parent = nullptr);
};
