// The options window's runs of a format form: print, preview, key print,
// picture export, design and the paper-size look, and format deletion.

#include "options/VRBaseOptF.h"

#include "common/DataRights.h"
#include "common/LibStrs.h"
#include "common/VariantElements.h"
#include "controls/ExtPage.h"
#include "options/FormatList.h"
#include "runtime/data/SocketConnection.h"
#include "runtime/forms/Buttons.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"

#include <QCoreApplication>
#include <QPrinterInfo>

namespace {

QString blankAsEmpty(const QString& text)
{
    return text.trimmed().isEmpty() ? QString() : text;
}

} // namespace

bool TfrmVRBaseOpt::BuildCriteriaQuery(QString& sql)
{
    if (!BuildReportParams())
        return false;
    Variant built;
    try {
        BuildQuery(0, OptionValueArray(), built);
        AdjustQuery(built);
        sql = built.ToString();
        if (DataRightsEnabled)
            sql = ApplyDataRights(sql, PowerData, DatabaseName());
        return true;
    } catch (const Exception& e) {
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
        return false;
    }
}

bool TfrmVRBaseOpt::TellConnectRefusal()
{
    if (connectRefusal_.isEmpty())
        return false;
    // No session: every read would fail and blame the server's address.
    Dialogs().MessageDlg(ConnectRefusalText(), mtError, mbOK, Caption());
    resultValue_ = Variant(ConnectRefusalText());
    return true;
}

bool TfrmVRBaseOpt::PrintOrPreview(bool preview)
{
    if (TellConnectRefusal())
        return false;
    QString sql;
    return BuildCriteriaQuery(sql) && OutputFormat(sql, preview);
}

bool TfrmVRBaseOpt::BuildKeyQuery(const Variant& keys, Variant& sql)
{
    keysDriven_ = true;
    try {
        BuildQuery(1, keys, sql);
        AdjustQuery(sql);
    } catch (const Exception& e) {
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
        return false;
    }
    KeyFormatName = LookupDefaultFormat(ElementText(keys, 0));
    if (KeyFormatName.compare(QLatin1String("<New>"), Qt::CaseInsensitive) != 0) {
        const QString shown = ToDisplay(KeyFormatName);
        SelectFormat(shown);
        cboFormStyleName->SetText(shown);
    }
    return true;
}

bool TfrmVRBaseOpt::PrintKeys(const Variant& keys, bool preview)
{
    if (TellConnectRefusal())
        return false;
    Variant sql;
    // Keys come from the shell: no criteria check and no data rights.
    return BuildKeyQuery(keys, sql) && OutputFormat(sql.ToString(), preview);
}

bool TfrmVRBaseOpt::ExportPictures(
    const Variant& keys, int kind, const QString&, const QString& prefix, int resolution)
{
    if (TellConnectRefusal())
        return false;
    // The command's kind number decides whether prefix names the pages or
    // is the file; a number no kind has is refused before any data are read.
    const std::optional<TExportTarget> target = TExportTarget::FromWire(kind, prefix);
    if (!target) {
        resultValue_ = Variant(QStringLiteral("no export kind has the number %1").arg(kind));
        return false;
    }
    if (!HasElements(keys)) {
        QString sql;
        return BuildCriteriaQuery(sql) && ExportFormat(sql, *target, resolution);
    }
    Variant sql;
    return BuildKeyQuery(keys, sql) && ExportFormat(sql.ToString(), *target, resolution);
}

bool TfrmVRBaseOpt::FormatFormAvailable()
{
    if (formatClass_)
        return true;
    // A program without its format form cannot run a report: say so rather
    // than end quietly.
    Dialogs().MessageDlg(
        Text("sNoFormatForm", "格式窗体不存在: ") + formatClass_.ClassName, mtError, mbOK, Caption());
    return false;
}

TFormatContext TfrmVRBaseOpt::formatContext() const
{
    TFormatContext c;
    c.SendMode = sendWay_.SendMode;
    c.ProgramCode = ProgramCode();
    c.CompanyCode = CompanyCode();
    c.DatabaseName = DatabaseName();
    c.UserCode = UserCode();
    c.DateType = cboDateType->ItemIndex() + 1;
    c.DateSeparator = DateSeparator();
    c.CompanyInfo = CompanyInfo;
    const Variant host = HostObject();
    if (!host.IsEmptyOrNull()) {
        try {
            c.Validator = host.Get(QStringLiteral("Com_Validator"));
            c.Counter = host.Get(QStringLiteral("Com_Counter"));
        } catch (const Exception&) {
            // A manager without them: the format form works without.
        }
    }
    c.Title = ReportTitle(CompanyInfo, ProgramTitle(), ProgramCode());
    c.PrinterIndex = PrinterIndex;
    c.Printing = PrintSettings;
    c.Connection = MainMidas();
    c.ApplicationServer = ApplicationServer();
    c.SqlType = SqlType;
    // The window outlives every format form it makes (it frees them before
    // it returns), so the look-ups may call back into it.
    auto* self = const_cast<TfrmVRBaseOpt*>(this);
    c.Option = [self](const QString& name) { return self->GetSysParam(name); };
    c.Query = [self](const QString& kind, const Variant& params, Variant& rows) {
        return self->ValidatorQuery(kind, QString(), params, rows);
    };
    c.ShowMessage = [self](const QString& kind, const QString& id, const QStringList& args) {
        return self->ShowCodedMessage(kind, id, args);
    };
    c.Message = [self](const QString& code) {
        Variant rows;
        if (!self->ValidatorQuery(
                QStringLiteral("MSGCHT"), QStringLiteral("01"), Variant::ArrayOf({"R", code}), rows))
            return QString();
        return ElementText(ElementAt(rows, rows.IsArray() ? rows.LowBound() : 0), 0);
    };
    c.SendKeyField = sendWay_.KeyColumn;
    c.SendAddressField = sendWay_.AddressField;
    c.SendAddress = edtFaxEmailData->Text();
    c.SendCountColumn = SendCountColumn;
    c.UserGroup = UserGroup();
    c.CustomFormatPath = CustomFormatPath;
    return c;
}

int TfrmVRBaseOpt::openFormatData(IVRFormatForm& format, const QString& sql, bool& told)
{
    told = false;
    if (!SqlBuilderMode) {
        if (!SqlBuilderEnabled)
            format.UnbindExtendedFields();
        return format.OpenData(sql);
    }
    try {
        QString extended;
        if (format.QueryBuilderActive()) {
            const TQueryParts parts {pieces_.SelectPart(), pieces_.FromPart(), pieces_.OrderByPart(),
                pieces_.GroupByPart(), pieces_.WherePart(), pieces_.JoinPart()};
            if (format.AcceptQueryParts(parts))
                format.SetQueryParts(parts, false);
            extended = blankAsEmpty(format.GetFinalQuery(sql));
        }
        if (extended.isEmpty())
            return format.OpenData(sql);
        const int result = format.OpenData(extended);
        if (result == -1) {
            // The query with the extended fields failed, not the server: the
            // user hears that, and only that.
            Dialogs().MessageDlg(
                Text("sExtFieldError", "此格式在做扩展栏位时，出现错误，你可以重新设计此扩展栏位!"), mtError,
                mbOK, Caption());
            told = true;
        }
        return result;
    } catch (const Exception&) {
        const int answer = Dialogs().MessageDlg(
            Text("sExtFieldAsk",
                "此格式在做扩展栏位时，出现错误，你可以重新设计此扩展栏位，是否以不做扩展栏位方式运行？"),
            mtConfirmation, TMsgDlgButtons(mbYes | mbNo), Caption());
        if (answer == mrYes)
            return format.OpenData(sql); // a failure now is the server's again
        told = true; // No: the user chose not to run; nothing more to say
        return -1;
    }
}

int TfrmVRBaseOpt::RunFormat(const QString& sql, std::unique_ptr<IVRFormatForm>& format)
{
    format.reset();
    if (TellConnectRefusal())
        return -1;
    if (!FormatFormAvailable())
        return -1;
    try {
        format = formatClass_.Create(this);
        const QString name = ToStorage(cboFormStyleName->Text());
        format->SetFormatName(name);
        WriteAlertLog(QStringLiteral("VRBASE"), name, QStringLiteral("D"));
        // The format form may post work to the event loop while it is made.
        QCoreApplication::processEvents();
        format->SetContext(formatContext());
        format->PrepareData();
        bool told = false;
        const int result = openFormatData(*format, sql, told);
        if (result == 1) {
            BeforeOutput(format.get());
            return 1;
        }
        if (result == -1 && !told && MainMidas()) {
            ShowCodedMessage(QStringLiteral("E"), QStringLiteral("000025"),
                {MainMidas()->Address(), QString::number(MainMidas()->Port()), QString(), QString(),
                    QString(), QString()});
        } else if (result == 0) {
            ShowCodedMessage(QStringLiteral("W"), QStringLiteral("000006"));
            // A run without a window tells "no rows" from a failure by this.
            resultValue_ = Variant(QStringLiteral("W;000006"));
        }
        format.reset();
        return result == 0 ? 0 : -1;
    } catch (const Exception&) {
        format.reset();
        return -1;
    }
}

bool TfrmVRBaseOpt::OutputFormat(const QString& sql, bool preview)
{
    std::unique_ptr<IVRFormatForm> format;
    if (RunFormat(sql, format) != 1)
        return false;
    bool ran = true;
    try {
        if (preview)
            format->Preview();
        else
            ran = format->Print(); // a print that did not happen was told by the format form
    } catch (const Exception& e) {
        ran = false;
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
    }
    // The next run starts on the printer this one ended on.
    PrinterIndex = format->PrinterIndex();
    PrintSettings = format->Printing();
    return ran;
}

bool TfrmVRBaseOpt::ExportFormat(const QString& sql, const TExportTarget& target, int resolution)
{
    std::unique_ptr<IVRFormatForm> format;
    if (RunFormat(sql, format) != 1)
        return false;
    try {
        format->SetResolution(resolution);
        if (format->PreparePages() && format->Export(target))
            return true;
        // The shell runs exports without a window and tells the user this text.
        resultValue_ = Variant(format->LastError());
    } catch (const Exception& e) {
        resultValue_ = Variant(e.Message());
    }
    return false;
}

// --- design ---------------------------------------------------------------------------------

void TfrmVRBaseOpt::OpenDesigner()
{
    if (designForm_ || !FormatFormAvailable())
        return;
    // The designer works on the query of the criteria: when they are not
    // complete the user has just been told what is missing, and no designer
    // opens on a query that cannot be built.
    if (SqlBuilderMode && !BuildReportParams())
        return;
    try {
        designForm_ = formatClass_.Create(this);
        designForm_->SetFormatName(ToStorage(cboFormStyleName->Text()));
        // The design form takes the context of a run: the server it loads
        // and stores the format through. Loading the stored format there
        // brings the builder's relations before the pieces are offered.
        designForm_->SetContext(formatContext());
        if (SqlBuilderMode) {
            SetGroupByPart(QString());
            SetOrderByPart(QString());
            Variant sql;
            try {
                BuildQuery(0, OptionValueArray(), sql);
            } catch (const Exception&) {
                // The designer opens on the pieces it has.
            }
            const TQueryParts parts {pieces_.SelectPart(), pieces_.FromPart(), pieces_.OrderByPart(),
                pieces_.GroupByPart(), pieces_.WherePart(), pieces_.JoinPart()};
            if (designForm_->AcceptQueryParts(parts))
                designForm_->SetQueryParts(parts, true);
        }
        designForm_->SetQueryBuilderMode(SqlBuilderMode);
        SetEnabled(false);
        TDesignContext context {
            ProgramCode(), UserCode(), MainTable, DatabaseName(), CompanyCode(), {}, {}, {}};
        context.DesignerClosed = [this] { CloseDesigner(); };
        // A stored format read as the designer starts gets the pieces again
        // (its relations are then joined to this query).
        context.QueryParts = [this] {
            return TQueryParts {pieces_.SelectPart(), pieces_.FromPart(), pieces_.OrderByPart(),
                pieces_.GroupByPart(), pieces_.WherePart(), pieces_.JoinPart()};
        };
        context.FormatAdded = [this](const QString& shown) { formatAdded(shown); };
        designForm_->BeginDesign(context);
    } catch (const Exception& e) {
        designForm_.reset();
        SetEnabled(true);
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
    }
}

void TfrmVRBaseOpt::formatAdded(const QString& shown)
{
    if (cboFormStyleName->Items()->IndexOf(shown) < 0)
        cboFormStyleName->Items()->Add(shown);
    SelectFormat(shown);
    cboFormStyleName->SetText(shown);
}

void TfrmVRBaseOpt::CloseDesigner()
{
    if (!designForm_)
        return;
    SetEnabled(true);
    designForm_->EndDesign();
    designForm_.reset();
    ReloadFormatList();
    if (Visible())
        Show(); // back to the front
}

// --- buttons ------------------------------------------------------------------------------------

void TfrmVRBaseOpt::btnOkClick(TObject*)
{
    // Criteria that made a report are used: Esc afterwards closes without asking.
    if (PrintOrPreview(false))
        KeepCriteria();
}

void TfrmVRBaseOpt::btnPreviewClick(TObject*)
{
    if (PrintOrPreview(true))
        KeepCriteria();
}

void TfrmVRBaseOpt::btnDesignClick(TObject*)
{
    OpenDesigner();
}

void TfrmVRBaseOpt::btnPrintSetupClick(TObject*)
{
    const QStringList printers = PrinterNames ? PrinterNames() : QStringList();
    TPrintSettings settings = PrintSettings;
    if (!settings.ToFile() && settings.PrinterName.isEmpty())
        settings.PrinterName = PrinterIndex >= 0 && PrinterIndex < printers.size()
            ? printers.at(PrinterIndex)
            : QPrinterInfo::defaultPrinterName();
    if (!Dialogs().PrinterSetupDialog(settings))
        return;
    // A PDF file is no printer of the list: PrinterIndex -1, the file in the settings.
    PrintSettings = settings;
    PrinterIndex = settings.ToFile() ? -1 : static_cast<int>(printers.indexOf(settings.PrinterName));
}

void TfrmVRBaseOpt::btnPaperSizeClick(TObject*)
{
    showPaperSize();
}

void TfrmVRBaseOpt::showPaperSize()
{
    if (!FormatFormAvailable())
        return;
    const Variant host = HostObject();
    try {
        if (!host.IsEmptyOrNull())
            host.Call(QStringLiteral("SetFormCreateStyle"), {cboFormStyleName->Text()});
    } catch (const Exception&) {
        // An older manager has no create style; the format reads its own.
    }
    std::unique_ptr<IVRFormatForm> format = formatClass_.Create(this);
    format->SetFormatName(ToStorage(cboFormStyleName->Text()));
    // The context brings the stored format, whose page may differ.
    format->SetContext(formatContext());
    const TPaperInfo paper = format->PaperInfo();
    const QStringList& sizes = moPaperSize->Lines()->Lines();
    const QStringList& units = moUnits->Lines()->Lines();
    ShowCodedMessage(QStringLiteral("I"), QStringLiteral("000012"),
        {sizes.value(paper.PaperSize), QString::number(paper.Width), QString::number(paper.Length),
            units.value(paper.Units)});
}

void TfrmVRBaseOpt::btnDelFormStypeClick(TObject*)
{
    deleteFormat();
}

void TfrmVRBaseOpt::deleteFormat()
{
    const QString name = cboFormStyleName->Text();
    if (name.toUpper() == u"<NEW>" || (name.isEmpty() && cboFormStyleName->Items()->IndexOf(QString()) >= 0))
        return;
    if (Dialogs().MessageDlg(Text("sDelFormat", "确认删除选中的凭证格式吗?"), mtConfirmation,
            TMsgDlgButtons(mbYes | mbNo), Caption())
        != mrYes)
        return;
    Variant row;
    if (!RunPredefinedQuery({QStringLiteral("WARRANT"), QStringLiteral("03"),
                                Variant::ArrayOf({formatClass_.ClassName, name})},
            row)) {
        Dialogs().MessageDlg(Text("sNoFormat", "格式档不存在!"), mtError, mbOK, Caption());
        return;
    }
    int deleted = 0;
    try {
        deleted = ApplicationServer()
                      .Call(QStringLiteral("RunDeleteSQL"),
                          {Variant::ArrayOf({formatClass_.ClassName, ToStorage(name).trimmed()})})
                      .ToInt();
    } catch (const Exception&) {
        deleted = 0;
    }
    if (deleted > 0)
        Dialogs().MessageDlg(Text("sDelOk", "删除成功!"), mtInformation, mbOK, Caption());
    else
        Dialogs().MessageDlg(Text("sDelFail", "删除失败!"), mtError, mbOK, Caption());
    const QStringList items
        = FormatListAfterDelete(StoredFormats(), [this](const QString& n) { return OptionValueOf(n); });
    cboFormStyleName->Items()->SetLines(items);
    cboFormStyleName->SetItemIndex(items.isEmpty() ? -1 : 0);
}
