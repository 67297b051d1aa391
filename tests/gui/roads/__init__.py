"""The roads of the acceptance suite, by name, in the order a full run walks them."""
from .criteria import road_criteria

ROADS = {
    "criteria": road_criteria,
}
