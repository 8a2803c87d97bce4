#pragma once

#include <cstdint>
#include <string>

#include "widgets/controls.h"
#include "widgets/form.h"

// The update progress window: hidden until a download runs, then the bar and
// the percentage in the caption follow the download.
class TForm2 {
 public:
  TForm2(const Form& mainWindow, MirrorFactory* mirrors);
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  // The received bytes of the total the service expects (0 while unknown).
  void OnDownloadProgress(std::uint32_t progress, std::uint32_t progressMax,
                          const std::string& appTitle);

  Form UpForm;
  ProgressBar ProgressBar1;

 private:
  void FormCreate();
};
