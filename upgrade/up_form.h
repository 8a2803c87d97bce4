#pragma once

#include <cstdint>
#include <string>

#include "upgrade/self_update.h"
#include "widgets/controls.h"
#include "widgets/form.h"

// The update progress window: hidden until a download runs, then the bar and
// the percentage in the caption follow the download.
class TForm2 : public DownloadProgressView {
 public:
  // The caption names the program by appTitle.
  TForm2(const Form& mainWindow, std::string appTitle, MirrorFactory* mirrors);
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  void ShowDownload() override;
  void ShowDownloadProgress(std::uint32_t received, std::uint32_t total) override;
  void CloseDownload() override;

  Form UpForm;
  ProgressBar ProgressBar1;

 private:
  void FormCreate();

  std::string appTitle_;
};
