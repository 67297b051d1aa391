#pragma once
// "Outlook.Application": the mail client's automation interface as the print
// programs use it, delivering over SMTP instead of through a mail store.
//
//   app = CreateOleObject("Outlook.Application")
//   ns = app.GetNamespace("MAPI")            any other name raises EOleError
//   ns.Logon()                               raises EOleError saying why when the [Mail]
//                                            settings cannot be used (no server, ...);
//                                            reads them only, connects nowhere
//   folder = ns.GetDefaultFolder(6)          any folder number; the number is kept
//   item = folder.Items.Add()                also app.CreateItem(0)
//   item.To = "a@x.com; 李四 <b@y.cn>"      see common/MailAddress.h
//   item.Subject = "..."; item.Body = "..."
//   item.Attachments.Add("/tmp/ZORV52_1.gif") the file is read now, as the
//                                            mail client copies it into the item
//   item.Send()
//
// Send() reads the [Mail] section of StewardC.ini (MailSettings.h), composes
// one MIME message with every attachment and delivers it to every recipient.
// It raises EOleError, and delivers nothing, when the settings are unusable,
// the To text holds no recipient or something that is no address, or the
// server fails; the message then says why. A sent item is spent: another
// Send(), or a change to it, raises EOleError.

#include "runtime/system/AutoObject.h"

// Registers "Outlook.Application" with the automation object factory.
void RegisterOutlook();
