#include "suite/appserver/AppServer.h"

#include "runtime/system/ArgReader.h"
#include "suite/appserver/ClientStatements.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/FormatStore.h"
#include "suite/appserver/LogText.h"
#include "suite/appserver/LoginThrottle.h"
#include "suite/appserver/PasswordHash.h"
#include "suite/appserver/ProviderSet.h"
#include "suite/appserver/SchemeStore.h"
#include "suite/appserver/ServerDataRights.h"
#include "suite/appserver/SignOffData.h"
#include "suite/appserver/SqlTokens.h"
#include "suite/appserver/SqlTranslator.h"
#include "suite/appserver/UserPasswords.h"

#include "common/LibStrs.h"
#include "common/ProgramDescriptor.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QUuid>
#include <unistd.h>

namespace {

// The class name of a server object made without a class id (tools, tests).
// Constant-initialised: a module registers the server while its statics are
// still being made.
constexpr QLatin1String anyProgramClass("TAppServer");

QString classNameOr(const QString& classId)
{
    return classId.isEmpty() ? QString(anyProgramClass) : classId;
}

bool isIdentifier(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

// The arguments of an operation that takes one array: the array itself, or
// the arguments as the array when the caller passed them one by one.
Variant arrayArg(const VariantList& args)
{
    const Variant& first = TAutoObject::Arg(args, 0);
    if (first.IsArray() || args.size() <= 1)
        return first;
    VariantList items;
    for (const Variant& a : args)
        items << a.Deref();
    return Variant::ArrayOf(items);
}

// The text of a text argument; anything that is no text (an array, bytes,
// an object) is refused rather than converted.
QString textArgument(const Variant& value, const QString& operation)
{
    const Variant& v = value.Deref();
    switch (v.Type()) {
    case VarType::Array:
    case VarType::Object:
    case VarType::Bytes:
        throw EDatabaseError(QStringLiteral("%1 takes a text argument").arg(operation));
    default:
        return v.ToString();
    }
}

} // namespace

TAppServer::TAppServer(const QString& classId)
    : TAutoObject(classNameOr(classId))
    , session_(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    registerMembers();
}

TAppServer::TAppServer(TServerConfig config, const QString& classId)
    : TAutoObject(classNameOr(classId))
    , config_(std::move(config))
    , configLoaded_(true)
    , log_(config_.QueryLogFile)
    , session_(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    registerMembers();
}

TAppServer::~TAppServer()
{
    providers_.reset(); // cursors go before the database they read
}

template<typename R, typename F> R TAppServer::guarded(const QString& operation, R failure, F body)
{
    lastError_.clear();
    try {
        return body();
    } catch (const Exception& e) {
        lastError_ = e.Message();
    } catch (const std::exception& e) {
        lastError_ = QString::fromUtf8(e.what());
    } catch (...) {
        lastError_ = QStringLiteral("unknown failure");
    }
    log_.Failed(operation, lastError_);
    return failure;
}

TDbBackend& TAppServer::Database()
{
    if (db_)
        return *db_;
    if (!configLoaded_) {
        config_ = TServerConfig::Load();
        configLoaded_ = true;
        log_ = TQueryLog(config_.QueryLogFile);
    }
    if (!config_.ErrorText.isEmpty())
        throw EDatabaseError(config_.ErrorText);
    if (dbFile_.isEmpty())
        dbFile_ = config_.MainDatabaseFile();
    db_ = OpenBackend(config_.DBType, dbFile_);
    if (!providers_)
        providers_ = std::make_unique<TProviderSet>([this](const QString& provider, const QString& request) {
            return openProvider(provider, request);
        });
    return *db_;
}

QString TAppServer::Translate(const QString& sql)
{
    return TranslateSql(sql, DialectOf(Database()));
}

namespace {

// The password table is the server's own: a client text that names it is
// refused by name here, before the engines deny it themselves (the SQLite
// authorizer, PostgreSQL's client role), so that the client hears why.
void refusePasswordTable(const QString& sql)
{
    using namespace sqltokens;
    for (const Token& t : tokenize(sql)) {
        QString name;
        if (t.kind == Tok::Word)
            name = tableOfWord(t.text);
        else if ((t.kind == Tok::QuotedName || t.kind == Tok::String) && t.text.size() >= 2)
            name = tableOfWord(QStringView(t.text).mid(1, t.text.size() - 2));
        if (name.compare(QLatin1String(userpasswords::Table), Qt::CaseInsensitive) == 0)
            throw EDatabaseError(QStringLiteral("statement refused: table %1 is not open to clients")
                                     .arg(QLatin1String(userpasswords::Table)));
    }
}

} // namespace

QString TAppServer::TranslateClientRead(const QString& sql)
{
    requireConnection();
    refusePasswordTable(sql);
    return Translate(ApplyServerDataRights(sql, rights_, mainTable_, databaseName_));
}

void TAppServer::requireConnection() const
{
    if (!connected_)
        throw EDatabaseError(QStringLiteral("no user is connected: Connect must succeed first"));
}

void TAppServer::requireRight(std::initializer_list<int> anyOf, const QString& what) const
{
    requireConnection();
    for (const int position : anyOf)
        if (rights_.RightsString.mid(position - 1, 1).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0)
            return;
    throw EDatabaseError(QStringLiteral("user %1 may not %2 in program %3").arg(user_, what, program_));
}

void TAppServer::requireOwnUser(const QString& user) const
{
    requireConnection();
    if (user.trimmed().compare(user_, Qt::CaseInsensitive) != 0)
        throw EDatabaseError(QStringLiteral("user %1 may not reach the schemes of user %2").arg(user_, user));
}

QString TAppServer::Connect(const Variant& args)
{
    connected_ = false;
    return guarded(QStringLiteral("Connect"), QStringLiteral("连接失败"), [&]() -> QString {
        const TArgReader arg(args);
        program_ = arg.Text(0).trimmed().toUpper();
        user_ = arg.Text(1).trimmed();
        company_ = arg.Text(2).trimmed();
        databaseName_ = arg.Text(3).trimmed();
        mainTable_ = arg.Text(4).trimmed();
        rights_ = TUserRights();
        Database(); // reads the configuration
        const QString file = config_.CompanyDatabaseFile(databaseName_);
        if (file.isEmpty())
            return QStringLiteral("公司数据库 %1 不存在").arg(databaseName_);
        if (file != dbFile_) {
            if (providers_)
                providers_->CloseAll();
            db_.reset();
            dbFile_ = file;
        }
        // The password is taken as sent: blanks may belong to it.
        const QString password = arg.Text(5);
        rights_ = LoadUserRights(Database(), user_, program_, mainTable_);
        const QString refusal = authenticate(password);
        if (!refusal.isEmpty()) {
            rights_ = TUserRights();
            return refusal;
        }
        connected_ = true;
        return QString();
    });
}

bool TAppServer::trustedOwner() const
{
    // Only where the client and the database are one user's own: the
    // in-process server on an SQLite file that this process's user owns.
    if (!policy_.InProcess || !config_.TrustHomeOwner || config_.IsPostgres())
        return false;
    const QFileInfo file(dbFile_);
    return file.exists() && file.ownerId() == ::getuid() && ::getuid() == ::geteuid();
}

void TAppServer::loginFailed(const QString& key, const QString& reason, qint64 waitedMs)
{
    ProcessLoginThrottle().Failed(key, policy_.Peer);
    const QString line
        = QStringLiteral("login of %1 from %2 refused: %3 (slowed by %4 ms)")
              .arg(user_, policy_.Peer.isEmpty() ? QStringLiteral("this process") : policy_.Peer, reason)
              .arg(waitedMs);
    log_.Failed(QStringLiteral("Connect"), line);
    WriteAlertLog(QStringLiteral("AppServerLogin"), LogSafe(line), QStringLiteral("M"));
}

QString TAppServer::authenticate(const QString& password)
{
    const QString key = dbFile_ + u'|' + user_.toUpper();
    if (rights_.Known && key == authenticated_)
        return QString();
    if (rights_.Known && password.isEmpty() && trustedOwner()) {
        authenticated_ = key;
        return QString();
    }
    qint64 waitMs = 0;
    if (!ProcessLoginThrottle().Admit(key, policy_.Peer, waitMs)) {
        const QString reason = QStringLiteral("用户 %1 登录失败的次数太多，请稍后再试").arg(user_);
        loginFailed(key, QStringLiteral("too many failed attempts"), 0);
        return reason;
    }
    // Each failure makes the next attempt wait: guessing slows down.
    if (waitMs > 0)
        QThread::msleep(static_cast<unsigned long>(waitMs));
    QString reason, logged;
    if (!rights_.Known) {
        reason = QStringLiteral("用户 %1 不存在").arg(user_);
        logged = QStringLiteral("unknown user");
    } else if (password.isEmpty()) {
        reason = QStringLiteral("用户 %1 须输入密码").arg(user_);
        logged = QStringLiteral("no password given");
    } else {
        const QString stored = userpasswords::StoredHash(Database(), user_);
        if (stored.isEmpty()) {
            reason = QStringLiteral("用户 %1 尚未设定密码 (steward-appserver --set-password)").arg(user_);
            logged = QStringLiteral("the user has no password");
        } else if (!VerifyPassword(password, stored)) {
            reason = QStringLiteral("用户 %1 的密码错误").arg(user_);
            logged = QStringLiteral("wrong password");
        }
    }
    if (!reason.isEmpty()) {
        loginFailed(key, logged, waitMs);
        return reason;
    }
    ProcessLoginThrottle().Succeeded(key);
    authenticated_ = key;
    return QString();
}

int TAppServer::SQLType()
{
    return guarded(QStringLiteral("SQLType"), 0, [&] { return Database().SqlType(); });
}

QString TAppServer::LoadTable(const Variant& args)
{
    return guarded(QStringLiteral("LoadTable"), QStringLiteral("读取方案失败"), [&] {
        // A refused choice lists nothing, not the schemes chosen before.
        schemeUser_.clear();
        schemeProgram_.clear();
        const TArgReader arg(args);
        requireOwnUser(arg.Text(0));
        schemeUser_ = arg.Text(0);
        schemeProgram_ = arg.Text(1);
        return QString();
    });
}

QString TAppServer::InsertConTable(const Variant& args)
{
    return guarded(QStringLiteral("InsertConTable"), QStringLiteral("保存方案失败"), [&] {
        requireOwnUser(TArgReader(args).Text(1));
        return SchemeStore::Insert(Database(), args);
    });
}

QString TAppServer::DeleteConTable(const Variant& args)
{
    return guarded(QStringLiteral("DeleteConTable"), QStringLiteral("删除方案失败"), [&] {
        requireOwnUser(TArgReader(args).Text(1));
        return SchemeStore::Delete(Database(), args);
    });
}

QString TAppServer::ChangeConName(const Variant& oldKey, const Variant& newKey)
{
    return guarded(QStringLiteral("ChangeConName"), QStringLiteral("更改方案名失败!"), [&] {
        requireOwnUser(TArgReader(oldKey).Text(1));
        requireOwnUser(TArgReader(newKey).Text(1));
        return SchemeStore::Rename(Database(), oldKey, newKey);
    });
}

int TAppServer::RunDeleteSQL(const Variant& key)
{
    return guarded(QStringLiteral("RunDeleteSQL"), -1, [&] {
        requireRight({3}, QStringLiteral("delete formats"));
        return FormatStore::Delete(Database(), key);
    });
}

int TAppServer::GetBlobField(const Variant& key, Variant& out)
{
    return guarded(QStringLiteral("GetBlobField"), -1, [&] {
        requireConnection();
        return FormatStore::Read(Database(), key, out);
    });
}

int TAppServer::RunUpdFlagSQL(const Variant& args)
{
    return guarded(QStringLiteral("RunUpdFlagSQL"), -1, [&] {
        requireRight({2}, QStringLiteral("design formats"));
        return FormatStore::Lock(Database(), args, session_);
    });
}

int TAppServer::RunInsUpdSQL(bool update, const Variant& lines, const Variant& params, int sizeKB)
{
    return guarded(QStringLiteral("RunInsUpdSQL"), -1, [&] {
        requireRight({2}, QStringLiteral("design formats"));
        return FormatStore::Write(Database(), update, lines, params, sizeKB, session_);
    });
}

int TAppServer::UpdatePrintCount(const Variant& args)
{
    return guarded(QStringLiteral("UpdatePrintCount"), -1, [&]() -> int {
        requireRight({6}, QStringLiteral("print"));
        const TArgReader arg(args);
        QString table = arg.Text(0).trimmed();
        const QString column = arg.Text(1).trimmed();
        const QString condition = arg.Text(2).trimmed();
        log_.Received(QStringLiteral("UpdatePrintCount"), table + u' ' + column + u' ' + condition);
        if (table.startsWith(QLatin1String("$$")))
            table = table.mid(2);
        TDbBackend& db = Database();
        if (!isIdentifier(table) || !isIdentifier(column)
            || !config_.PrintCountColumns.value(table.toUpper()).contains(column.toUpper())
            || !db.HasColumn(table, column))
            throw EDatabaseError(QStringLiteral("%1 of table %2 is no print count").arg(column, table));
        // An empty condition would count every slip as printed.
        if (condition.isEmpty())
            throw EDatabaseError(QStringLiteral("a print count needs a key condition"));
        clientsql::CheckKeyCondition(condition, table, db);
        const QString bound = db.BindTableName(table);
        const QString sql = QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + 1 WHERE %3")
                                .arg(bound, column, Translate(condition));
        log_.Ran(QStringLiteral("UpdatePrintCount"), sql);
        return static_cast<int>(db.Execute(sql, {}, SqlAccess::Update));
    });
}

int TAppServer::RunFreeSQL(const Variant& sql)
{
    const QString operation = QStringLiteral("RunFreeSQL");
    return guarded(operation, -1, [&]() -> int {
        requireRight({2, 6}, QStringLiteral("read report data"));
        const QString received = textArgument(sql, operation);
        log_.Received(operation, received);
        TDbBackend& db = Database();
        // The one write a client may send; everything else must read only,
        // which the back end checks with the engine's own judgement.
        const bool insert = clientsql::LooksLikeInsert(received);
        if (insert)
            clientsql::CheckSendLogInsert(received, db);
        const QString text = insert ? Translate(received) : TranslateClientRead(received);
        log_.Ran(operation, text);
        db.SetClientTimeBudget(config_.FreeSqlBudgetMs);
        if (insert)
            return static_cast<int>(db.Execute(text, {}, SqlAccess::ReadInsert));
        auto c = db.Query(text, {}, SqlAccess::Read);
        int rows = 0;
        while (c->Next())
            ++rows;
        return rows;
    });
}

Variant TAppServer::GetTWData(const Variant& request)
{
    const QString operation = QStringLiteral("GetTWData");
    return guarded(operation, Variant::ArrayOf({0}), [&] {
        requireRight({2, 6}, QStringLiteral("read report data"));
        const QString text = textArgument(request, operation);
        log_.Received(operation, text);
        return SignOffData::Table(Database(), text);
    });
}

QString TAppServer::GetWebserviceTWData(const Variant& request, Variant& out)
{
    const QString operation = QStringLiteral("GetWebserviceTWData");
    const QString answer = guarded(operation, QString(), [&] {
        requireRight({2, 6}, QStringLiteral("read report data"));
        const QString text = textArgument(request, operation);
        log_.Received(operation, text);
        return SignOffData::Xml(Database(), text);
    });
    out = lastError_;
    return answer;
}

std::unique_ptr<TDbCursor> TAppServer::openProvider(const QString& provider, const QString& request)
{
    requireConnection();
    TDbBackend& db = Database();
    if (provider.compare(QLatin1String("pvdConSave"), Qt::CaseInsensitive) == 0)
        return SchemeStore::List(db, schemeUser_, schemeProgram_);
    requireRight({2, 6}, QStringLiteral("read report data"));
    if (request.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("provider %1 has no query").arg(provider));
    log_.Received(provider, request);
    const QString text = TranslateClientRead(request);
    log_.Ran(provider, text);
    db.SetClientTimeBudget(config_.ProviderBudgetMs);
    return db.Query(text, {}, SqlAccess::Read);
}

QByteArray TAppServer::GetRecords(
    const QString& provider, int count, int& rowsSent, const QString& request, int options)
{
    // Provider failures raise, as the data packet protocol wants; the log still records them.
    try {
        requireConnection();
        Database().SetClientTimeBudget(config_.ProviderBudgetMs); // a new call of a continuing query
        return providers_->GetRecords(provider, count, rowsSent, request, options);
    } catch (const Exception& e) {
        lastError_ = e.Message();
        log_.Failed(provider, lastError_);
        throw;
    }
}

void TAppServer::registerMembers()
{
    AddMethod(QStringLiteral("Connect"), [this](VariantList& a) { return Variant(Connect(arrayArg(a))); });
    AddProperty(QStringLiteral("PowerData"), [this](VariantList&) { return PowerData(); });
    AddProperty(QStringLiteral("SQLType"), [this](VariantList&) { return Variant(SQLType()); });
    AddProperty(QStringLiteral("LastError"), [this](VariantList&) { return Variant(LastError()); });
    AddMethod(
        QStringLiteral("LoadTable"), [this](VariantList& a) { return Variant(LoadTable(arrayArg(a))); });
    AddMethod(QStringLiteral("InsertConTable"),
        [this](VariantList& a) { return Variant(InsertConTable(arrayArg(a))); });
    AddMethod(QStringLiteral("DeleteConTable"),
        [this](VariantList& a) { return Variant(DeleteConTable(arrayArg(a))); });
    AddMethod(QStringLiteral("ChangeConName"),
        [this](VariantList& a) { return Variant(ChangeConName(Arg(a, 0), Arg(a, 1))); });
    AddMethod(QStringLiteral("RunDeleteSQL"),
        [this](VariantList& a) { return Variant(RunDeleteSQL(arrayArg(a))); });
    AddMethod(QStringLiteral("GetBlobField"), [this](VariantList& a) {
        Variant out;
        const int result = GetBlobField(Arg(a, 0), out);
        if (result > 0)
            SetOut(a, 1, out);
        return Variant(result);
    });
    AddMethod(QStringLiteral("RunUpdFlagSQL"),
        [this](VariantList& a) { return Variant(RunUpdFlagSQL(arrayArg(a))); });
    AddMethod(QStringLiteral("RunInsUpdSQL"), [this](VariantList& a) {
        return Variant(RunInsUpdSQL(TArgReader(a).Flag(0), Arg(a, 1), Arg(a, 2), TArgReader(a).Int(3, 0)));
    });
    AddMethod(QStringLiteral("UpdatePrintCount"),
        [this](VariantList& a) { return Variant(UpdatePrintCount(Arg(a, 0))); });
    AddMethod(
        QStringLiteral("RunFreeSQL"), [this](VariantList& a) { return Variant(RunFreeSQL(Arg(a, 0))); });
    AddMethod(QStringLiteral("GetTWData"), [this](VariantList& a) { return GetTWData(Arg(a, 0)); });
    AddMethod(QStringLiteral("GetWebserviceTWData"), [this](VariantList& a) {
        Variant out;
        const QString answer = GetWebserviceTWData(Arg(a, 0), out);
        SetOut(a, 1, out);
        return Variant(answer);
    });
    AddMethod(QStringLiteral("AS_GetProviderNames"), [](VariantList&) {
        VariantList names;
        for (const QString& n : TProviderSet::Names())
            names << n;
        return Variant::ArrayOf(names);
    });
    // Provider failures raise, as the data packet protocol wants them to.
    AddMethod(QStringLiteral("AS_GetRecords"), [this](VariantList& a) {
        int sent = 0;
        const QByteArray packet = GetRecords(Arg(a, 0).ToString(), TArgReader(a).Int(1, -1), sent,
            Arg(a, 3).ToString(), TArgReader(a).Int(4, 0));
        SetOut(a, 2, sent);
        return Variant(packet);
    });
    registerCatalogueMembers();
}

QStringList RegisterAppServer()
{
    // Made by class name in the client's own process (address 127.0.0.1):
    // one server class serves every program, under each program's class id.
    QStringList classIds;
    for (const TProgramDescriptor& program : KnownPrograms()) {
        const QString classId = program.ServerClass;
        AutoObjectFactory::Register(classId, [classId] {
            auto server = std::make_shared<TAppServer>(classId);
            TLoginPolicy policy;
            policy.InProcess = true;
            server->SetLoginPolicy(policy);
            return server;
        });
        classIds << classId;
    }
    return classIds;
}
