"""The roads of the acceptance suite, by name, in the order a full run walks them."""
from .background import road_background
from .criteria import road_criteria
from .designer import road_designer
from .entry import road_dates, road_prices, road_signoff
from .export import road_export
from .formats import road_formats
from .languages import road_languages
from .modal import road_close, road_modal
from .printing import road_counts, road_print
from .scheduled import road_scheduled
from .schemes import road_schemes
from .sending import road_email, road_fax

ROADS = {
    "criteria": road_criteria,
    "print": road_print,
    "counts": road_counts,
    "export": road_export,
    "formats": road_formats,
    "email": road_email,
    "fax": road_fax,
    "schemes": road_schemes,
    "scheduled": road_scheduled,
    "designer": road_designer,
    "background": road_background,
    "dates": road_dates,
    "prices": road_prices,
    "signoff": road_signoff,
    "modal": road_modal,
    "close": road_close,
    "languages": road_languages,
}
