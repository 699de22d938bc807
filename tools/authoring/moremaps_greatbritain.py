"""Great Britain: the counties and regions of Great Britain and Ireland, each label at a real
place inside its region, with the real borders and the usual crossings (the North Channel,
the Irish Sea ferries, the Minch, the Pentland Firth, the Isle of Man).

Usage: python3 moremaps_greatbritain.py [map.cpp [outline.cpp]]   (prints the map source without
an argument; the outline of the land goes to tools/artgen)
"""

from authoring_lib import Outline
from moremaps_lib import BuiltinMap, Projection, check_outline, write_outline

# Longitude -10.6 to 1.9 and latitude 49.95 to 59.3, drawn a little wider than true so the
# crowded south of England has room.
project = Projection(-10.6, 1.9, 49.95, 59.3, 40, 715, 24, 610)

gb = BuiltinMap(
    "GreatBritain", "Great_Britain", "MapGreatBritain", "GrBritain", (762, 24), (82, 84), (2, 25),
    ["Great Britain: the counties and regions of Great Britain and Ireland, each label at a real",
     "place inside its region, with the real borders and the usual crossings (the North Channel,",
     "the Irish Sea ferries, the Minch, the Pentland Firth, the Isle of Man)."])

# Continent, display name, then (code, name, latitude, longitude) of each member.
CONTINENTS = [
    ("Highlands", "Highlands", [
        ("ork", "Orkney and Shetland", 59.0, -3.0), ("sut", "Sutherland and Caithness", 58.2, -4.2),
        ("wis", "Western Isles", 57.9, -6.9), ("ros", "Ross and Skye", 57.6, -5.2),
        ("inv", "Inverness and Lochaber", 57.15, -4.6), ("abe", "Aberdeenshire and Moray", 57.25, -2.7),
        ("arg", "Argyll", 56.25, -5.4)]),
    ("Lowlands", "Lowlands", [
        ("per", "Perth and Stirling", 56.6, -3.9), ("agu", "Angus", 56.75, -2.85),
        ("fif", "Fife", 56.25, -3.0), ("gla", "Glasgow and Lanark", 55.75, -4.2),
        ("edi", "Edinburgh and Lothian", 55.85, -3.15), ("ayr", "Ayrshire", 55.35, -4.6),
        ("bor", "Borders", 55.5, -2.8), ("dum", "Dumfries and Galloway", 55.05, -4.1)]),
    ("Northern_England", "Northern England", [
        ("nor", "Northumberland", 55.2, -2.0), ("cum", "Cumbria", 54.55, -3.0),
        ("dur", "Durham and Tyneside", 54.75, -1.65), ("nyo", "North Yorkshire", 54.2, -1.5),
        ("lan", "Lancashire", 53.9, -2.6), ("wyo", "West and South Yorkshire", 53.62, -1.55),
        ("eyo", "East Yorkshire and Humber", 53.9, -0.55), ("man", "Manchester and Merseyside", 53.5, -2.45),
        ("iom", "Isle of Man", 54.23, -4.55)]),
    ("Midlands", "Midlands", [
        ("che", "Cheshire", 53.1, -2.75), ("der", "Derbyshire", 53.15, -1.65),
        ("not", "Nottinghamshire", 53.15, -0.98), ("lin", "Lincolnshire", 53.1, -0.25),
        ("shr", "Shropshire", 52.62, -2.85), ("wmi", "West Midlands and Staffordshire", 52.68, -2.05),
        ("lei", "Leicestershire", 52.7, -1.15), ("her", "Herefordshire and Worcester", 52.15, -2.55),
        ("war", "Warwickshire", 52.22, -1.55), ("nth", "Northamptonshire", 52.32, -0.85)]),
    ("East_Anglia", "East Anglia", [
        ("nfk", "Norfolk", 52.68, 0.95), ("sfk", "Suffolk", 52.2, 1.0),
        ("cam", "Cambridgeshire", 52.38, 0.05), ("ess", "Essex", 51.8, 0.6),
        ("hrt", "Bedford and Hertford", 51.88, -0.35)]),
    ("South_East", "South East", [
        ("lon", "London", 51.48, -0.12), ("ken", "Kent", 51.2, 0.8), ("sus", "Sussex", 50.92, -0.15),
        ("sur", "Surrey", 51.2, -0.6), ("ham", "Hampshire and Wight", 50.95, -1.35),
        ("oxf", "Oxford, Berks and Bucks", 51.72, -1.1)]),
    ("South_West", "South West", [
        ("glo", "Gloucestershire and Bristol", 51.75, -2.2), ("wil", "Wiltshire", 51.3, -1.9),
        ("som", "Somerset", 51.1, -3.0), ("dor", "Dorset", 50.78, -2.3), ("dev", "Devon", 50.72, -3.8),
        ("crn", "Cornwall", 50.38, -4.85)]),
    ("Wales", "Wales", [
        ("ang", "Anglesey", 53.28, -4.35), ("gwy", "Gwynedd", 52.85, -3.95), ("clw", "Clwyd", 53.12, -3.35),
        ("pow", "Powys", 52.38, -3.4), ("cer", "Ceredigion", 52.3, -4.05),
        ("dyf", "Carmarthen and Pembroke", 51.88, -4.6), ("glm", "Glamorgan and Gwent", 51.62, -3.35)]),
    ("Ulster", "Ulster", [
        ("don", "Donegal", 54.95, -8.0), ("lda", "Londonderry", 54.95, -6.95), ("ant", "Antrim", 54.85, -6.15),
        ("tyr", "Tyrone", 54.58, -7.25), ("fer", "Fermanagh", 54.35, -7.75), ("arm", "Armagh", 54.28, -6.62),
        ("dow", "Down", 54.35, -5.85), ("cav", "Cavan and Monaghan", 53.97, -7.2)]),
    ("Connacht", "Connacht", [
        ("sli", "Sligo and Leitrim", 54.2, -8.55), ("may", "Mayo", 53.9, -9.35),
        ("rsc", "Roscommon", 53.7, -8.2), ("gal", "Galway", 53.3, -8.85)]),
    ("Leinster", "Leinster", [
        ("wme", "Westmeath and Longford", 53.55, -7.45), ("mea", "Meath and Louth", 53.78, -6.6),
        ("dub", "Dublin", 53.35, -6.25), ("kil", "Kildare and Offaly", 53.15, -7.0),
        ("wic", "Wicklow", 52.95, -6.35), ("kik", "Kilkenny, Laois and Carlow", 52.68, -7.15),
        ("wex", "Wexford", 52.42, -6.6)]),
    ("Munster", "Munster", [
        ("cla", "Clare", 52.85, -9.0), ("lim", "Limerick", 52.5, -8.75), ("tip", "Tipperary", 52.68, -7.95),
        ("ker", "Kerry", 52.05, -9.6), ("cor", "Cork", 51.95, -8.7), ("wat", "Waterford", 52.2, -7.6)]),
]

gb.bonus_weights = (0.35, 0.35, -0.5)

for name, display, members in CONTINENTS:
    for code, region, lat, lon in members:
        gb.add(code, region, *project(lat, lon))
    gb.continent(name, display, [code for code, _, _, _ in members])

# Land borders ('-') and crossings of the sea ('~').
gb.link_text("""
    ork~sut sut-ros sut-inv ros-inv ros~wis wis~arg inv-arg inv-abe inv-per abe-per abe-agu
    arg-per arg-gla arg~ayr arg~ant
    per-agu per-fif per-gla per-edi agu-fif fif-edi gla-edi gla-ayr gla-bor gla-dum ayr-dum
    edi-bor bor-dum bor-nor bor-cum dum-cum dum~dow dum~iom
    nor-cum nor-dur cum-dur cum-nyo cum-lan dur-nyo nyo-lan nyo-wyo nyo-eyo lan-wyo lan-man
    wyo-man wyo-eyo wyo-der wyo-not wyo-lin eyo-lin man-che man-der lan~iom cum~iom dow~iom
    che-der che-shr che-wmi che-clw der-not der-wmi der-lei not-lin not-lei lin-lei lin-nth
    lin-cam lin-nfk shr-wmi shr-her shr-clw shr-pow wmi-lei wmi-war wmi-her lei-war lei-nth
    war-nth war-her war-oxf war-glo her-glo her-pow her-glm nth-cam nth-hrt nth-oxf
    nfk-sfk nfk-cam sfk-cam sfk-ess cam-ess cam-hrt ess-hrt ess-lon hrt-lon hrt-oxf ess~ken
    lon-ken lon-sur lon-oxf ken-sur ken-sus sur-sus sur-ham sur-oxf sus-ham ham-oxf ham-wil
    ham-dor oxf-wil oxf-glo
    glo-wil glo-som glo-glm wil-som wil-dor som-dor som-dev dor-dev dev-crn som~glm
    ang-gwy gwy-clw gwy-pow gwy-cer clw-pow pow-cer pow-dyf pow-glm cer-dyf dyf-glm
    dyf~wex ang~dub
    don-lda don-tyr don-fer don-sli lda-ant lda-tyr ant-dow ant-tyr ant-arm tyr-arm tyr-fer
    arm-dow arm-cav arm-mea fer-cav fer-sli cav-sli cav-wme cav-mea
    sli-may sli-rsc may-rsc may-gal gal-rsc gal-cla gal-tip gal-kil rsc-wme
    wme-mea wme-kil mea-dub mea-kil dub-kil dub-wic kil-wic kil-kik kil-tip wic-kik wic-wex
    kik-wex kik-tip kik-wat
    cla-lim cla-tip lim-tip lim-ker lim-cor tip-cor tip-wat ker-cor cor-wat wat-wex
""")

# The coasts, clockwise, as (latitude, longitude).
coast = Outline(project)
coast.add_land("Great Britain", [
    (58.64, -3.03), (58.67, -3.37), (58.6, -4.4), (58.62, -5.0), (58.25, -5.3), (57.9, -5.65), (57.5, -5.8),
    (57.3, -5.7), (57.0, -5.8), (56.7, -6.2), (56.45, -5.5), (56.0, -5.65), (55.6, -5.75), (55.3, -5.8),
    (55.7, -5.4), (55.95, -4.9), (55.5, -4.75), (55.0, -5.1), (54.65, -4.9), (54.85, -4.4), (54.9, -3.6),
    (54.6, -3.6), (54.1, -3.25), (53.8, -3.05), (53.4, -3.1), (53.32, -3.4), (53.25, -4.0), (53.42, -4.3),
    (53.42, -4.6), (53.2, -4.6), (53.1, -4.35), (52.95, -4.55), (52.8, -4.75), (52.8, -4.15), (52.4, -4.1),
    (52.1, -4.7), (51.75, -5.25), (51.6, -4.9), (51.55, -4.15), (51.45, -3.2), (51.6, -2.7), (51.4, -3.0),
    (51.2, -3.4), (51.2, -4.2), (50.85, -4.55), (50.55, -4.95), (50.05, -5.72), (49.95, -5.2), (50.35, -4.2),
    (50.2, -3.7), (50.6, -3.4), (50.6, -2.45), (50.7, -1.9), (50.78, -1.1), (50.75, -0.3), (50.75, 0.3),
    (50.9, 0.95), (51.1, 1.35), (51.38, 1.42), (51.5, 0.75), (51.8, 1.25), (52.0, 1.5), (52.5, 1.75),
    (52.95, 1.3), (52.95, 0.5), (52.8, 0.3), (53.1, 0.35), (53.55, 0.15), (54.1, -0.1), (54.5, -0.6),
    (54.65, -1.15), (55.0, -1.4), (55.6, -1.7), (55.8, -2.0), (56.0, -2.5), (56.05, -3.0), (56.28, -2.58),
    (56.45, -2.8), (56.7, -2.45), (57.15, -2.05), (57.5, -1.78), (57.7, -2.0), (57.7, -3.0), (57.55, -4.1),
    (57.85, -3.8), (58.0, -3.9), (58.44, -3.09)])
coast.add_land("Ireland", [
    (55.38, -7.37), (55.2, -6.9), (55.22, -6.25), (55.2, -6.05), (54.85, -5.72), (54.65, -5.52), (54.3, -5.5),
    (54.05, -6.0), (53.75, -6.22), (53.35, -6.05), (52.95, -6.0), (52.5, -6.2), (52.2, -6.35), (52.15, -6.9),
    (52.0, -7.6), (51.85, -8.25), (51.55, -9.0), (51.45, -9.8), (51.65, -10.1), (51.8, -10.35), (52.1, -10.45),
    (52.3, -9.85), (52.6, -9.6), (52.95, -9.45), (53.15, -9.3), (53.25, -9.0), (53.3, -9.6), (53.5, -10.1),
    (53.8, -9.9), (54.1, -10.1), (54.3, -9.8), (54.25, -9.0), (54.3, -8.6), (54.65, -8.3), (54.65, -8.75),
    (55.0, -8.4), (55.15, -8.25), (55.25, -7.7)])
coast.add_land("Western Isles", [
    (58.52, -6.26), (58.2, -6.3), (57.85, -6.6), (57.4, -7.2), (57.0, -7.35), (57.0, -7.55), (57.6, -7.5),
    (58.0, -7.15), (58.25, -7.05)])
coast.add_land("Orkney", [(59.2, -3.3), (59.22, -2.75), (58.9, -2.65), (58.78, -3.2), (58.95, -3.42)])
coast.add_land("Isle of Man", [(54.45, -4.35), (54.25, -4.22), (54.02, -4.65), (54.08, -4.88), (54.3, -4.82)])

if __name__ == "__main__":
    check_outline(coast, gb)
    gb.finish("moremaps_greatbritain.py", max_link=110, routes=18)
    write_outline(coast, "greatBritainOutline", "moremaps_greatbritain.py",
                   ["The land of Great Britain and Ireland, drawn by hand round the Great Britain map's labels."])
