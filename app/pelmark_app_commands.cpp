// The application's command table, help and the About box.
#include "app/about_dlg.h"
#include "app/help_page.h"
#include "app/pelmark_app.h"
#include "framework/program_globals.h"
#include "frame/main_frame.h"
#include "framework/cmd_ui.h"

void CPelmarkApp::DeclareCommands(framework::CommandTable& table) {
    table.On(framework::ID_APP_ABOUT, this, &CPelmarkApp::OnAppAbout)
        .On(kHelpSearchId, this, &CPelmarkApp::OnHtmlHelp)
        .OnUpdate(kHelpSearchId, [](framework::CmdUI& ui) { ui.Enable(true); })
        .On(kHelpContextId, this, &CPelmarkApp::OnHtmlHelp)
        .On(kHelpId, this, &CPelmarkApp::OnHtmlHelp)
        .On(kOpenAsNewFileId, this, &CPelmarkApp::OnOpenAsNewFile)
        .OnUpdate(kOpenAsNewFileId, this, &CPelmarkApp::onUpdateOpenAsNewFile)
        .On(kTwainSelectSourceId, this, &CPelmarkApp::OnTwainSelectSource)
        .OnUpdate(kTwainSelectSourceId, this, &CPelmarkApp::onUpdateTwain)
        .On(kTwainAcquireId, this, &CPelmarkApp::OnTwainAcquire)
        .OnUpdate(kTwainAcquireId, this, &CPelmarkApp::onUpdateTwain)
        .On(kUnderlayTwainId, this, &CPelmarkApp::TwainAcquireUnderlay)
        .OnUpdate(kUnderlayTwainId, this, &CPelmarkApp::onUpdateUnderlayTwain);
    // File New, File Open (through the overrides) and Exit.
    Application::DeclareCommands(table);
}

void CPelmarkApp::OnHtmlHelp() {
    CMainFrame* frame = mainFrame();
    OpenHelpPage(GetProgramDirectory(), frame ? frame->WindowHandle() : nullptr);
}

void CPelmarkApp::OnAppAbout() {
    CAboutDlg about(mainFrame());
    about.DoModal();
}
