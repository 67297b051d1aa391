#pragma once
// "HVNFAX.APP": the fax service's automation object, sending through
// HylaFAX's sendfax client.
//
//   fax = CreateOleObject("HVNFAX.APP")
//   fax.RefreshFaxServerInfo()               reads [Fax] of StewardC.ini (FaxSettings.h)
//   fax.FaxServerCount                       servers read by the last refresh
//   fax.GetFaxServerInfo(i, &name, &host)    i from 0; False (outs untouched) when out of range
//   job = fax.SendFax                        a new sending object
//   job.ConnectFaxServer(host)               True when host is a host and sendfax is installed
//   job.LastError                            why the last ConnectFaxServer said False, else empty
//   job.AddFaxFile(path)                     True; a picture becomes a PDF page here
//   job.SendFax(number, recipient, user, cover)  runs sendfax once with every added file;
//                                            cover non-zero asks for a cover page
//   job.DisconnectFaxServer()                forgets host and files, removes the PDF pages
//
// SendFax raises EOleError, having sent nothing, when not connected, when no
// file was added, when the number is not dialable, or when sendfax fails;
// the message says which. AddFaxFile raises for a file it cannot read. The
// server list is what the configuration holds; "127.0.0.1" is simply the
// HylaFAX server on this machine.

#include "runtime/system/AutoObject.h"

// Registers "HVNFAX.APP" with the automation object factory.
void RegisterHvnFax();
