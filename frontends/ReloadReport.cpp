#include "frontends/ReloadReport.h"

#include "check/ListChecker.h"
#include "frontends/CheckCommand.h"

void ReportReload(ReloadOutcome outcome, const Text& listPath, const Text& programFolder,
                  IPictureDecoder* decoder, std::ostream& errors)
{
    if (outcome == ReloadOutcome::NoListOpen || outcome == ReloadOutcome::Busy)
        return;
    if (outcome == ReloadOutcome::ListUnreadable)
    {
        errors << "tavrino: '" << listPath << "' cannot be read; the screen stays as it was\n";
        errors.flush();
        return;
    }
    const auto slash = listPath.rfind('/');
    const Text listFolder = listPath.substr(0, slash + 1);
    CListChecker checker(decoder);
    checker.CheckList(programFolder, listFolder, listPath.substr(slash + 1));
    checker.Finish();
    std::vector<Finding> findings = checker.Findings();
    SortByPlace(findings);
    int errorCount = 0;
    int warningCount = 0;
    for (const Finding& finding : findings)
        (finding.severity == Severity::Error ? errorCount : warningCount) += 1;
    errors << "tavrino: '" << listPath << "' read again: " << errorCount
           << (errorCount == 1 ? " error, " : " errors, ") << warningCount
           << (warningCount == 1 ? " warning\n" : " warnings\n");
    for (const Finding& finding : findings)
        WriteFindingLine(errors, finding);
    errors.flush();
}
