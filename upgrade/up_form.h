#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "language/language_listener.h"
#include "upgrade/self_update.h"
#include "widgets/controls.h"
#include "widgets/form.h"

// The update progress window: hidden until a download runs, then the bar and
// the percentage in the caption follow the download.
class TForm2 : public DownloadProgressView, public LanguageListener {
 public:
  TForm2(const Form& mainWindow, MirrorFactory* mirrors);
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  void ShowDownload() override;
  void ShowDownloadProgress(std::uint32_t received, std::uint32_t total) override;
  void CloseDownload() override;
  // The caption in the active language, at the percentage it showed.
  void LanguageChanged() override;

  Form UpForm;
  ProgressBar ProgressBar1;

 private:
  void FormCreate();
  void ShowCaption();

  // The whole percent done since the download first reported.
  std::optional<std::string> percentText_;
};
