// The version box "『Kazoru』バージョン情報": a title band with a picture of a fraction and the program's
// name and version, a picture of seven stars over the maker's name, and the "Ｏ Ｋ" button. Both pictures
// are drawn here with QPainter; the box uses no image files.
#pragma once

#include <QDialog>

class QPushButton;

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QPushButton* OkButton() const { return ok_; }

  // Places the box 200 right of and 100 below the top-left corner of screen (the calculation screen).
  void PlaceBeside(const QWidget* screen);

 private:
  QPushButton* ok_ = nullptr;
};

// Shows a fresh version box modally beside the calculation screen (parent).
void ShowAboutBox(QWidget* parent);
// Installs the screen's command for the box ("バージョン情報(&A)").
void InstallAboutCommand();
