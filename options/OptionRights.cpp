#include "options/OptionRights.h"

namespace {

bool grants(const QString& rights, int position)
{
    return rights.size() >= position && rights[position - 1] == u'Y';
}

} // namespace

TOptionRights OptionRightsOf(const QString& rightsString)
{
    return {grants(rightsString, 2), grants(rightsString, 3), grants(rightsString, 6)};
}
