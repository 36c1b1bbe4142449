// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Answer review screen.

#include "platform/screen.h"
#include "review/data_file_reader.h"
#include "shell/screen_shell.h"

#include <QPointer>
#include <QString>
#include <array>

class QFrame;
class QLabel;
class QMovie;
class QPushButton;
class AutoSizeLabel;
class MediaPlayer;
class TabcToggleBtn;
class VideoDisplayPanel;

/// What the review keeps for the whole run, whichever screen instance shows it: the records of
/// the data file opened last, and whether the next activation shows the empty screen.
struct ReviewRun {
    ReviewData Data;
    int ReviewFresh = 1;
};
ReviewRun& Review();

class TForm8 : public Screen {
    Q_OBJECT
public:
    explicit TForm8(ScreenShell& shell, QWidget* parent = nullptr);
    ~TForm8() override;

    static constexpr int kClientWidth = 782;
    static constexpr int kClientHeight = 536;
    static constexpr int kLowClientWidth = 775; // displays lower than 624 pixels
    static constexpr int kLowClientHeight = 515;
    static constexpr int kVideoPanelLeft = 225;
    static constexpr int kVideoPanelTop = 95;

    static const QString kDialogTitle;
    static const QString kDialogFilter;
    static const QString kNoFileMessage;

    void FormActivate() override;

    // State of the record on screen.
    int CurrentItem = 1;
    QString ReviewVideoFile; // full path of the record's video fragment
    bool QuestionPictureShown = false;
    bool VideoPending = false;
    std::array<bool, kReviewOptions> PreviousRowPicture{};
    int RunningTop = 0;

    /// True from "Старт видео" to the end of playback.
    bool Playing() const { return m_playing; }

    // Top bar.
    QFrame* Panel1;
    QLabel* Label1; // header and totals of the file

    // The record.
    AutoSizeLabel* Label2; // "Вопрос i "
    AutoSizeLabel* Label3; // question text
    AutoSizeLabel* Label4; // option rows 1..5: Label4 .. Label8
    AutoSizeLabel* Label5;
    AutoSizeLabel* Label6;
    AutoSizeLabel* Label7;
    AutoSizeLabel* Label8;
    AutoSizeLabel* Label9;  // given answer
    AutoSizeLabel* Label10; // correct answer
    AutoSizeLabel* Label11; // points for the answer
    QLabel* Image6;         // option pictures of rows 1..5: Image6 .. Image10
    QLabel* Image7;
    QLabel* Image8;
    QLabel* Image9;
    QLabel* Image10;
    QFrame* Panel3; // frame of the question picture
    QLabel* Image1; // question picture, stretched

    // Decorative picture of the empty screen.
    QFrame* Panel4;
    QLabel* Image2;
    QMovie* Animation;

    // Video.
    QFrame* Panel5;            // video panel
    QLabel* Image3;            // frame picture filling Panel5
    VideoDisplayPanel* Panel6; // display area
    QLabel* Image4;            // still picture shown while no fragment plays
    QLabel* Image5;            // last frame of the fragment played last
    MediaPlayer* MediaPlayer1; // made by Player() when the first fragment plays
    /// The player, made on first use.
    MediaPlayer* Player();
    TabcToggleBtn* abcToggleBtn1; // "Старт видео"

    // Bottom bar.
    QFrame* Panel2;
    QPushButton* BitBtn5; // "Закрыть"
    QPushButton* BitBtn2; // "Открыть файл отчета..."
    QPushButton* BitBtn3; // "Следующий вопрос"
    QPushButton* BitBtn4; // "Предыдущий вопрос"

    /// The label and picture of option row 1..5.
    AutoSizeLabel* RowLabel(int row) const;
    QLabel* RowPicture(int row) const;

    // Steps of showing a record (called by the handlers; public so that tests can follow them).
    void ClearReviewArea();
    void ShowReviewItem();
    /// Fits the question picture; shrinkBy takes that much more height off its budget.
    void FitReviewPicture(int shrinkBy = 0);
    void PlaceReviewRows();
    void LayoutReviewRowsBesideVideo();
    /// Shrinks the option pictures of the record by one factor, so that together they take
    /// `overflow` pixels less height (0: none) and none reaches past `right`. False when the
    /// record has no picture to shrink.
    bool ShrinkRowPictures(int overflow, int right);

public Q_SLOTS:
    void BitBtn2Click() { OpenReviewFile(); }
    void OpenReviewFile();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void abcToggleBtn1Click();
    void abcToggleBtn1MouseEnter();
    void abcToggleBtn1MouseLeave();
    /// End of playback.
    void MediaPlayer1Notify();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ScreenShell& m_shell; // the program around the screen: menu, start bar

    // Parts of the screen, made in this order by the constructor.
    void SetUpWindow();
    void BuildTopBar();
    void BuildRecordLabels();
    void BuildRowPictures();
    void BuildQuestionPicture();
    void BuildEmptyScreenPicture();
    void BuildVideoPanel();
    void BuildVideoButton();
    void BuildBottomBar();

    // Steps of ShowReviewItem(): the texts and pictures of a filled record, then the heading.
    void FillReviewItem(const ReviewItem& item, const QString& folder);
    /// The question picture, or the video fragment of the record.
    void LoadReviewMedia(const ReviewItem& item, const QString& folder);
    void FillReviewRow(const ReviewItem& item, int row, const QString& folder);
    void PlaceReviewHeading();
    void PlaceRowsBesideVideo();
    void FitTopBar();

    void PlaceWindow();
    void ShowEmptyScreen();
    QString ProgramFolder() const;
    void PlayerFinished();
    void PlaybackFailed();
    void RenewPlayer();
    void EndPlayback();
    void SetStartBarEnabled(bool enabled);

    bool m_playing = false;
    int m_stillItem = 0; // the record whose fragment Image5 holds the last frame of (0: none)
};

extern QPointer<TForm8> Form8;
